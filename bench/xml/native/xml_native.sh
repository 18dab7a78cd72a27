#!/usr/bin/env bash
# The XML reader against wide pugixml, natively under valgrind: instructions of a read and of
# the release of its tree (callgrind), and the peak heap a read adds (massif), per shape.
#   bench/xml/native/xml_native.sh [SOURCE_TREE]    (default: this tree)
# Needs clang, valgrind and the peers' sources that `./run bench xml` fetched into the cache.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${1:-$(cd "$here/../../.." && pwd)}
out=${TMPDIR:-/tmp}/corelink-xml-native
pugi=$(dirname "$(ls "${XDG_CACHE_HOME:-$HOME/.cache}"/corelink/xml-peers/pugixml/*/src/pugixml.cpp | head -1)")
native=$root/tests/fuzz/native
# -std=c++20 makes std::wstring's members here, for the 16-bit wchar_t, as the fuzz build's
# _GLIBCXX_ASSERTIONS does, without its checks. DWARF 4 for valgrind 3.19.
flags=(-std=c++20 -O3 -gdwarf-4 -fshort-wchar -w -include "$native/native.h" -DNDEBUG
       -DUNICODE -D_UNICODE -DCORELINK_BUILD -DMFCLITE_BUILD -DBASEKIT_BUILD -I"$native")
for d in include common platform/common/include platform/mfc/include platform/basekit/include platform/win32/include startup/export xml; do
  flags+=(-I"$root/$d")
done
mkdir -p "$out"
objs=()
for f in platform/mfc/src/cstring.cpp platform/mfc/src/array_pool.cpp xml/xml_heap.cpp xml/xml_nodes.cpp \
         xml/xml_tree.cpp xml/xml_reader.cpp xml/xml_writer.cpp xml/xml_load.cpp catalogue/text_convert.cpp; do
  o=$out/$(basename "$f" .cpp).o; clang++ "${flags[@]}" -c "$root/$f" -o "$o"; objs+=("$o")
done
for f in wide16 win32_text win32_memory; do
  o=$out/$f.o; clang++ "${flags[@]}" -fno-builtin -c "$native/$f.cpp" -o "$o"; objs+=("$o")
done
clang++ "${flags[@]}" -DPUGIXML_WCHAR_MODE -I"$pugi" -c "$pugi/pugixml.cpp" -o "$out/pugixml.o"
clang++ "${flags[@]}" -DPUGIXML_WCHAR_MODE -I"$pugi" -c "$here/xml_native.cpp" -o "$out/xml_native.o"
clang++ -o "$out/xml_native" "${objs[@]}" "$out/pugixml.o" "$out/xml_native.o"

ir() { valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="$1" "$out/xml_native" "${@:2}" 2>&1 |
       sed -n 's/.*Collected : //p'; }
peak() { valgrind --tool=massif --massif-out-file="$out/massif" --heap-admin=0 "$out/xml_native" "$@" >/dev/null 2>&1
         grep mem_heap_B= "$out/massif" | cut -d= -f2 | sort -n | tail -1; }
shapes=("10 MB response" "200,000 siblings" "10,000 levels" "one 5 MB value")
for s in 0 1 2 3; do
  lp=$(ir lib_parse $s 0); lf=$(ir lib_free $s 0); pp=$(ir peer_parse $s 1); pf=$(ir peer_free $s 1)
  base=$(peak $s 0 0); lm=$(( $(peak $s 0 1) - base )); pm=$(( $(peak $s 1 1) - base ))
  printf '%-17s Ir read+release: Corelink %d+%d, wide pugixml %d+%d, ratio %.2f | peak heap: %d KB, %d KB, ratio %.2f\n' \
    "${shapes[$s]}" "$lp" "$lf" "$pp" "$pf" "$(echo "($lp+$lf)/($pp+$pf)" | bc -l)" \
    $((lm / 1024)) $((pm / 1024)) "$(echo "$lm/$pm" | bc -l)"
done
