#!/usr/bin/env bash
# Conversion speed against Ghostscript, in one run, on this machine.
#
#   bench/conversion/run_bench.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR is a build configured with -DZQ_BUILD_BENCH=ON (default: build-conversion
# beside the sources); WORK_DIR holds the corpus and the outputs (default
# /tmp/zq-conversion-bench). The corpus:
#   docs/  20 multi-page excerpts (7 to 9 pages) of the PDF manuals Debian ships under
#          /usr/share/doc, cut with poppler-utils (pdfseparate, pdfunite);
#   scans/ 20 PDFs of 1 to 4 pages, each page one 300 dpi image of a typed sheet as a
#          scanner stores it: colour JPEG, grey JPEG or CCITT Group 4 bilevel
#          (zq_make_scans; a corpus made before it wrote bilevel pages is made again).
# Both converters write every page at 200 dpi: colour (ours: LZW, grey pages as 8-bit;
# gs: tiff24nc with LZW), grey (ours: 8-bit LZW; gs: tiffgray with LZW) and
# black-and-white (ours: Group 4; gs: tiffg4). MODES="bw" runs only the modes named. Ours converts
# files in parallel on every core; Ghostscript runs one file after another (as a script
# calling it would) and, for reference, one process per core (xargs -P).
# Each figure is the best of REPEAT runs (default 2): other work on a shared machine
# only ever slows a run down. Besides the elapsed time, the CPU time (user + system of
# every thread and process) is reported: on a machine whose cores are busy with other
# work, pages per CPU-second is the figure that does not depend on the neighbours.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build-conversion}
work=${2:-/tmp/zq-conversion-bench}
repeat=${REPEAT:-2}
cores=$(nproc)
bench=$build/bin/zq_conversion_bench
scans=$build/bin/zq_make_scans
[ -x "$bench" ] && [ -x "$scans" ] || { echo "build $build with -DZQ_BUILD_BENCH=ON first" >&2; exit 1; }

if ! command -v gs >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends ghostscript >/dev/null
fi

mkdir -p "$work"/src "$work"/docs "$work"/scans "$work"/tmp
# --- corpus --------------------------------------------------------------------------
if [ "$(ls "$work"/docs | wc -l)" -lt 20 ]; then
  for f in /usr/share/doc/*/*.pdf /usr/share/doc/*/*.pdf.gz; do
    [ -e "$f" ] || continue
    name=$(basename "$(dirname "$f")")-$(basename "${f%.gz}")
    case "$f" in *.gz) zcat "$f" > "$work/src/$name" ;; *) cp "$f" "$work/src/$name" ;; esac
    pdfinfo "$work/src/$name" >/dev/null 2>&1 || rm -f "$work/src/$name"
  done
  mapfile -t sources < <(ls "$work"/src/*.pdf)
  [ ${#sources[@]} -gt 0 ] || { echo "no PDF manuals under /usr/share/doc" >&2; exit 1; }
  n=0; round=0
  while [ $n -lt 20 ]; do
    for s in "${sources[@]}"; do
      [ $n -lt 20 ] || break
      pages=$(pdfinfo "$s" 2>/dev/null | awk '/^Pages:/ {print $2}')
      len=$((7 + n % 3)); first=$((1 + round * 40))
      [ $((first + len - 1)) -le "$pages" ] || continue
      rm -f "$work"/tmp/*
      pdfseparate -f $first -l $((first + len - 1)) "$s" "$work/tmp/p%03d.pdf" 2>/dev/null
      n=$((n + 1))
      pdfunite "$work"/tmp/p*.pdf "$work/docs/$(printf doc%02d $n)-$(basename "${s%.pdf}")-p$first.pdf" 2>/dev/null
    done
    round=$((round + 1))
    [ $round -lt 20 ] || { echo "the manuals are too short for 20 excerpts" >&2; exit 1; }
  done
fi
if [ "$(ls "$work"/scans | wc -l)" -lt 20 ] ||
   { [ -e "$work/scans/scan03.pdf" ] && ! pdfimages -list "$work/scans/scan03.pdf" 2>/dev/null | grep -q ccitt; }; then
  rm -f "$work"/scans/scan*.pdf
  QT_QPA_PLATFORM=offscreen "$scans" "$work/scans" 20 2>/dev/null
fi

# --- runs ----------------------------------------------------------------------------
best() { sort -n | head -1; }
calc() { awk "BEGIN { printf \"%.6f\", $* }"; }

field() { sed "s/.*$1=\([0-9.]*\).*/\1/" <<<"$2"; }

ours() {  # corpus mode -> "seconds pages bytes cpu"
  local out="$work/out/ours-$1-$2" line
  rm -rf "$out"
  line=$("$bench" --mode "$2" --threads "$cores" --out "$out" "$work/$1"/*.pdf 2>/dev/null)
  echo "$(field seconds "$line") $(field pages "$line") $(field bytes "$line") $(field cpu "$line")"
}

ghost() {  # corpus mode parallelism -> "seconds pages bytes cpu"
  local out="$work/out/gs-$1-$2-$3" dev t TIMEFORMAT='%R %U %S'
  case "$2" in
    colour) dev="-sDEVICE=tiff24nc -sCompression=lzw" ;;
    grey) dev="-sDEVICE=tiffgray -sCompression=lzw" ;;
    bw) dev="-sDEVICE=tiffg4" ;;
  esac
  rm -rf "$out"; mkdir -p "$out"
  t=$( { time (ls "$work/$1"/*.pdf | xargs -P "$3" -I{} sh -c \
    'gs -q -dNOPAUSE -dBATCH -dSAFER '"$dev"' -r200 -sOutputFile="'"$out"'/$(basename "{}" .pdf).tif" "{}" >/dev/null 2>&1'); } 2>&1 )
  read -r wall user sys <<<"$t"
  echo "$wall $("$bench" --count-pages "$out"/*.tif) $(du -cb "$out"/*.tif | tail -1 | cut -f1) $(calc "$user + $sys")"
}

# Others' work on a shared machine slows every converter of a run alike only roughly:
# the load before and after says how far to trust the wall times.
echo "cores: $cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-6s %-6s %-18s %6s %8s %8s %8s %9s %8s\n" corpus mode converter pages seconds pages/s cpu-s pages/cpu MB
for corpus in docs scans; do
  for mode in ${MODES:-colour grey bw}; do
    o=""; g1=""; gp=""
    for ((r = 0; r < repeat; r++)); do
      o+="$(ours $corpus $mode)"$'\n'
      g1+="$(ghost $corpus $mode 1)"$'\n'
      gp+="$(ghost $corpus $mode "$cores")"$'\n'
    done
    o=$(best <<<"${o%$'\n'}"); g1=$(best <<<"${g1%$'\n'}"); gp=$(best <<<"${gp%$'\n'}")
    for row in "zel_QUIRNOVA x$cores|$o" "gs one by one|$g1" "gs x$cores processes|$gp"; do
      IFS='|' read -r label fig <<<"$row"; read -r s p b c <<<"$fig"
      printf "%-6s %-6s %-18s %6d %8.2f %8.2f %8.2f %9.2f %8.1f\n" $corpus $mode "$label" "$p" "$s" "$(calc "$p / $s")" \
        "$c" "$(calc "$p / $c")" "$(calc "$b / 1048576")"
    done
    read -r os op ob oc <<<"$o"; read -r gs1 gp1 _ gc1 <<<"$g1"; read -r gsp gpp gb _ <<<"$gp"
    [ "$op" = "$gp1" ] && [ "$op" = "$gpp" ] || echo "!! page counts differ: $op / $gp1 / $gpp"
    printf "%-6s %-6s speed-up: %.2fx over gs one by one, %.2fx over gs x%d; CPU per page: %.2fx less; output %.2fx smaller\n" \
      $corpus $mode "$(calc "$gs1 / $os")" "$(calc "$gsp / $os")" "$cores" "$(calc "$gc1 / $oc")" "$(calc "$gb / $ob")"
  done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
