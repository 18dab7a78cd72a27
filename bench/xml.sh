#!/usr/bin/env bash
# The XML reader against pugixml and tinyxml2, built here from Debian's source packages.
#   prepare: fetch the peers' sources (cached) and build the benchmark program
#   (no argument): run it
set -euo pipefail
peers=$CACHE/xml-peers
exe=$BUILD/bench/xml_bench.exe
if [ "${1:-}" = prepare ]; then
  for pkg in pugixml tinyxml2; do
    if [ ! -f "$peers/$pkg.ready" ]; then
      rm -rf "$peers/$pkg"
      "$ROOT/run" __source "$pkg" "$peers/$pkg"
      touch "$peers/$pkg.ready"
    fi
  done
  pugi=$(dirname "$(find "$peers/pugixml" -name pugixml.cpp -path '*src*' | head -n 1)")
  tiny=$(dirname "$(find "$peers/tinyxml2" -name tinyxml2.cpp | head -n 1)")
  mkdir -p "$(dirname "$exe")"
  i686-w64-mingw32-g++-posix -std=c++17 -O2 -municode -DUNICODE -D_UNICODE -D__USE_MINGW_ANSI_STDIO=0 \
    -I"$ROOT/include" -I"$ROOT/platform/mfc/include" -I"$pugi" -I"$tiny" \
    "$ROOT/bench/xml/xml_bench.cpp" "$pugi/pugixml.cpp" "$tiny/tinyxml2.cpp" \
    -L"$BUILD/lib" -lCorelink -lMfcLiteU -Wl,--stack,268435456 -o "$exe"
  exit 0
fi
cd "$BUILD/bin"   # the library and the runtime DLLs
wine "$exe" "$@"
