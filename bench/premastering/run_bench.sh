#!/usr/bin/env bash
# Pre-mastering speed, end to end, against the plain SQL that moves the same rows, in one
# run, on this machine.
#
#   bench/premastering/run_bench.sh [BUILD_DIR] [ROWS] [WORK_DIR]
#
# BUILD_DIR holds bin/zelq (default: build beside the sources); ROWS rows (default
# 50000) are put in the TARV table of one archive of a fresh demo installation in
# WORK_DIR/run (default /tmp/zq-premaster-bench), linked with `zelq link`. Then, each on a
# fresh copy of that installation, best of REPEAT runs (default 2):
#   zelq      `zelq --yes premaster SERIAL`: the whole command, login and checks included;
#   SQL       the sqlite3 shell on the archive database (the link module loaded):
#             DELETE FROM the set-aside table, then INSERT INTO it (the same columns)
#             SELECT ... FROM the TARV table attached, and again SELECT ... FROM the
#             link: the same rows into the same table, its indexes and counter
#             triggers included. Through the link, CHAR columns come blank-padded as
#             TARV gives them, the values zelq writes; from the file they come bare.
# The ratios zelq / SQL are the figures to watch (at most 2). Each figure is the best of
# the runs, wall and CPU (user + system) time apart.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
rows=${2:-50000}
work=${3:-/tmp/zq-premaster-bench}
repeat=${REPEAT:-2}
zelq=$build/bin/zelq
[ -x "$zelq" ] && [ -e "$build/lib/libzq_tarvlink.so" ] || { echo "build $build first (zelq, zq_tarvlink)" >&2; exit 1; }
command -v sqlite3 >/dev/null && [ -x /usr/bin/time ] || { echo "sqlite3 and /usr/bin/time (package time) are needed" >&2; exit 1; }

serial=2408010935144e5f   # "Fatture Clienti 2024" of the demo, company 001
tarv=tarv/usr/tarv/ditt001.db
rm -rf "$work"; mkdir -p "$work"
"$zelq" demo "$work/run" >/dev/null
"$zelq" --home "$work/run" --yes link --company 001 --year 2024 --archive "$serial:A" >/dev/null 2>&1
# Rows as the office's would look: every column filled, some Nulls, text with accents
# and quotes.
sqlite3 "$work/run/$tarv" <<SQL
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO a$serial (sys_record, sys_filename, sys_data_ins, sys_utente, sys_pagine, numero_doc, data_doc,
                      ragione_sociale, partita_iva, imponibile, importo, pagata, cod_tipo_doc_f, note)
SELECT i, printf('%08d.pdf', i), date('2024-01-01', '+' || (i % 365) || ' days'), 'tarv', 1 + i % 7,
       printf('FV/%06d', i), date('2024-01-01', '+' || (i % 365) || ' days'),
       CASE i % 3 WHEN 0 THEN 'Società l''Àncora s.r.l.' WHEN 1 THEN 'Rossi Mario & Figli' ELSE 'Caffè Nerì' END,
       printf('%011d', i * 7919 % 100000000000), (i % 1000) * 1.5, (i % 1000) * 1.83, i % 2, 2,
       CASE WHEN i % 5 = 0 THEN NULL ELSE 'nota ' || i END
FROM n;
SQL

cols=$(sqlite3 "$work/run/$tarv" "SELECT group_concat(name, ', ') FROM pragma_table_info('a$serial')")
best() { sort -n | head -1; }
# "wall cpu" seconds of one command (cpu: user + system); on a machine whose cores are
# busy with other work the CPU figure is the one that does not depend on the neighbours.
measure() {
  local t; t=$(mktemp)
  /usr/bin/time -f "%e %U %S" -o "$t" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f %.3f", $1, $2 + $3 }' "$t"; rm -f "$t"
}
# The archive's schema names the link module: the shell loads it to read that schema.
archive_sql=(env ZEL_QUIRNOVA_HOME="$work/run" sqlite3 -cmd ".load $build/lib/libzq_tarvlink" "$work/run/Vizidore.mdb")
# The installation's configuration names its own folder: each run gets the prepared
# installation back in that folder.
cp -a "$work/run" "$work/prepared"
fresh() { rm -rf "$work/run"; cp -a "$work/prepared" "$work/run"; }

ours=""; sql=""; viaLink=""
for ((r = 0; r < repeat; r++)); do
  fresh
  ours+="$(measure "$zelq" --home "$work/run" --yes premaster "$serial")"$'\n'
  copied=$("${archive_sql[@]}" "SELECT count(*) FROM [$serial]")
  [ "$copied" = "$rows" ] || { echo "!! zelq left $copied rows in $serial, not $rows" >&2; exit 1; }
  fresh
  sql+="$(measure "${archive_sql[@]}" "ATTACH '$work/run/$tarv' AS tarv; BEGIN;
      DELETE FROM [${serial}_sav]; INSERT INTO [${serial}_sav] ($cols) SELECT $cols FROM tarv.a$serial; COMMIT;")"$'\n'
  fresh
  viaLink+="$(measure "${archive_sql[@]}" "BEGIN;
      DELETE FROM [${serial}_sav]; INSERT INTO [${serial}_sav] ($cols) SELECT $cols FROM [$serial]; COMMIT;")"$'\n'
done
wall() { cut -d' ' -f1 <<<"${1%$'\n'}" | best; }
cpu() { cut -d' ' -f2 <<<"${1%$'\n'}" | best; }
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
printf "pre-master %d rows, embedded engine (best of %d; wall and cpu seconds)\n" "$rows" "$repeat"
printf "  %-44s %7.3f %7.3f\n" "zelq premaster" "$(wall "$ours")" "$(cpu "$ours")"
printf "  %-44s %7.3f %7.3f   zelq / this: %s wall, %s cpu\n" "INSERT ... SELECT from the TARV file" \
  "$(wall "$sql")" "$(cpu "$sql")" "$(ratio "$(wall "$ours")" "$(wall "$sql")")" "$(ratio "$(cpu "$ours")" "$(cpu "$sql")")"
printf "  %-44s %7.3f %7.3f   zelq / this: %s wall, %s cpu\n" "INSERT ... SELECT through the link" \
  "$(wall "$viaLink")" "$(cpu "$viaLink")" "$(ratio "$(wall "$ours")" "$(wall "$viaLink")")" "$(ratio "$(cpu "$ours")" "$(cpu "$viaLink")")"
