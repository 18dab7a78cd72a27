#!/bin/sh
# The native build's wchar_t is 16 bits (-fshort-wchar), glibc's 32: a wide C function that
# native/wide16.cpp does not replace would silently give wrong results. Fails when a core
# object needs such a function, or a program takes a basic_string<wchar_t> member from
# libstdc++.so (built for the 32-bit wchar_t). The character functions (towupper, iswspace,
# ...) take one wint_t and are right for 16-bit units too.
# Usage: check_wide_symbols.sh LIBCORES.a [PROGRAM...]
set -eu
dir=$(dirname "$0")
ours=$(grep -oE '^(size_t|int|wchar_t\*) [_a-z0-9]+\(' "$dir/native/wide16.cpp" | sed 's/.*[ *]//; s/($//')
status=0
for sym in $(nm -u "$1" | awk '{print $NF}' | grep -E '^_?(wcs|wmem|wcto|swprintf|vswprintf|swscanf|wprintf|fwprintf|fgetw|fputw|mbs|wcr|_wcs|_wto|_itow)' | sort -u); do
  if ! echo "$ours" | grep -qx "$sym"; then
    echo "core objects call the 32-bit wide function $sym (add a 16-bit one to native/wide16.cpp)"
    status=1
  fi
done
shift
for prog in "$@"; do
  if nm -u "$prog" | grep -q 'basic_string<wchar_t\|NSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEE'; then
    echo "$prog takes basic_string<wchar_t> members from libstdc++.so"
    status=1
  fi
done
exit $status
