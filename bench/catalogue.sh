#!/usr/bin/env bash
# The catalogue against plain SQLite: bulk store, page, search, album list, memory.
set -euo pipefail
[ "${1:-}" = prepare ] && exit 0
wine "$BUILD/bin/catalogue_bench.exe" "$@"
