#!/usr/bin/env bash
# The catalogue against plain SQLite: bulk store, page, search, album list, count, delete, memory.
#   catalogue.sh [ITEMS]   photo items to store (100,000 by default; CORELINK_CATALOGUE_ITEMS
#                          when no argument is given). Above 100,000 the catalogue is measured
#                          at 100,000 too and each operation's growth is printed.
set -euo pipefail
[ "${1:-}" = prepare ] && exit 0
items=${1:-${CORELINK_CATALOGUE_ITEMS:-}}
wine "$BUILD/bin/catalogue_bench.exe" ${items:+"$items"}
