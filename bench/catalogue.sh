#!/usr/bin/env bash
# The catalogue against plain SQLite: bulk store, page, search, album list, memory.
set -euo pipefail
wine "$BUILD/bin/catalogue_bench.exe" "$@"
