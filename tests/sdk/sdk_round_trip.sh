#!/usr/bin/env bash
# The SDK round trip: install the build into a temporary folder, build the sample host and the
# XML host (tests/sdk/xml_host) with nothing but find_package(Corelink) against it, and run them.
#   sdk_round_trip.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/sdk" >/dev/null
for f in include/Corelink.h include/afxstr.h include/PlatformLayout.h include/SplashWindow.h lib/libCorelink.dll.a bin/Corelink.dll bin/libstdc++-6.dll \
         lib/cmake/Corelink/CorelinkConfig.cmake lib/cmake/Corelink/CorelinkConfigVersion.cmake \
         include/resource_ids.h lib/corelink/english_resources.obj bin/Hintbook.dll \
         "bin/Corelink(Deutsch).lng" bin/CorelinkSkin.dll; do
  [ -f "$work/sdk/$f" ] || { echo "SDK lacks $f"; exit 1; }
done
# Builds the host in folder $2 against the installed SDK and runs it as $1.exe.
run_host() {
  cmake -S "$2" -B "$work/$1" -DCMAKE_TOOLCHAIN_FILE="$work/sdk/lib/cmake/Corelink/toolchain-i686-mingw.cmake" \
    -DCorelink_DIR="$work/sdk/lib/cmake/Corelink" >/dev/null
  cmake --build "$work/$1" >/dev/null
  (cd "$work/$1" && wine "$1.exe" | tr -d '\r')
}

out=$(run_host host_sample "$src/examples/host_sample")
echo "$out"
grep -qx 'product: Quillbox' <<<"$out"
grep -qx 'title: Quillbox Handset Manager' <<<"$out"
grep -qx 'item 7: Café tune (10 UTF-8 bytes)' <<<"$out"

# Records a host made with its own operator new, owned and freed by the model's lists.
out=$(run_host xml_host "$src/tests/sdk/xml_host")
echo "$out"
grep -qx 'written: 1' <<<"$out"
grep -qx 'host blocks left: 0' <<<"$out"
grep -qx "blocks left in the process's heaps: 0" <<<"$out"
grep -qx 'host heap valid: 1' <<<"$out"
