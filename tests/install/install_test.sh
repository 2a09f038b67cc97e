#!/usr/bin/env bash
# cmake --install into a fresh prefix, then: every file in its place, the installed
# zelq makes a demo installation and reports its state, the installed program starts
# on it (offscreen) and draws its window, and uninstalling by the manifest leaves
# nothing behind.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAILED: $*" >&2; exit 1; }
libdir=$(find "$prefix" -type d -path "$prefix/lib*/zel_QUIRNOVA" | head -1)
[ -n "$libdir" ] || fail "no private library folder under $prefix/lib"
for f in bin/zel_QUIRNOVA bin/zelq share/zel_QUIRNOVA/Loading.gif \
         share/applications/zel_QUIRNOVA.desktop \
         share/icons/hicolor/scalable/apps/zel_QUIRNOVA.svg \
         share/icons/hicolor/48x48/apps/zel_QUIRNOVA.png \
         share/man/man1/zelq.1.gz share/bash-completion/completions/zelq; do
  [ -e "$prefix/$f" ] || fail "$f not installed"
done
for lib in libLumetext.so libLumechoice.so libzq_tarvlink.so; do
  [ -e "$libdir/$lib" ] || fail "$lib not installed"
done
# The installed programs use the installed control libraries, not the build tree's.
for program in zel_QUIRNOVA zelq; do
  for lib in libLumetext.so libLumechoice.so; do
    loaded=$(ldd "$prefix/bin/$program" | awk -v lib="$lib" '$1 == lib { print $3 }')
    if [ -z "$loaded" ]; then
      [ "$program" = zelq ] && continue  # the command line needs no control
      fail "$program does not load $lib"
    fi
    [ "$(readlink -f "$loaded")" = "$(readlink -f "$libdir/$lib")" ] || fail "$program loads $lib from $loaded"
  done
done
# The manual page has a section for every command.
zcat "$prefix/share/man/man1/zelq.1.gz" | grep -qxF '.SS duplicate-year' || fail "manual page without duplicate-year"

demo="$prefix/studio demo/d'Ambrosio"
"$prefix/bin/zelq" demo "$demo" >/dev/null
status=$("$prefix/bin/zelq" status --home "$demo")
grep -q $'^2408010930122c3d\tFatture Acquisto\tFatture Fornitori 2024\tlocal' <<<"$status" || fail "status: $status"

export XDG_CONFIG_HOME="$prefix/config" XDG_RUNTIME_DIR="$prefix" QT_QPA_PLATFORM=offscreen
ZEL_QUIRNOVA_HOME=$demo "$prefix/bin/zel_QUIRNOVA" --screenshot "$prefix/main.png"
[ -s "$prefix/main.png" ] || fail "the installed program drew no window"

# Uninstalling: remove what the manifest lists.
xargs -d '\n' rm -f <"$build/install_manifest.txt"
left=$(find "$prefix/bin" "$prefix/share/applications" "$prefix/share/man" -type f 2>/dev/null)
[ -z "$left" ] || fail "left after uninstalling: $left"
echo "installed, ran and uninstalled under $prefix"
