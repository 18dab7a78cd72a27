#!/usr/bin/env bash
# The XML reader against pugixml and tinyxml2, built here from Debian's source packages.
#   prepare: fetch the peers' sources (cached) and build the benchmark program with CMake
#   (no argument): run it
set -euo pipefail
peers=$CACHE/xml-peers
exe=$BUILD/bin/xml_bench.exe
if [ "${1:-}" = prepare ]; then
  for pkg in pugixml tinyxml2; do
    if [ ! -f "$peers/$pkg.ready" ]; then
      rm -rf "$peers/$pkg"
      "$ROOT/run" __source "$pkg" "$peers/$pkg"
      touch "$peers/$pkg.ready"
    fi
  done
  cmake -S "$ROOT" -B "$BUILD" -DCORELINK_XML_PEERS="$peers" >/dev/null
  cmake --build "$BUILD" --target xml_bench >/dev/null
  exit 0
fi
cd "$BUILD/bin"   # the library and the runtime DLLs
wine "$exe" "$@"
