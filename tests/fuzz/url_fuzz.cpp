// url_decode on arbitrary text into a block of exactly the room it is given (the first
// byte of the input), so that a write past the room is an overflow the sanitizer reports.
#include <stdint.h>
#include <string.h>
#include <memory>
#include <string>
#include "TextConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string src(reinterpret_cast<const char*>(data + 1), size - 1);
    const unsigned room = data[0] % 64 + 1;
    std::unique_ptr<char[]> dst(new char[room]);
    const int n = url_decode(src.c_str(), dst.get(), room);
    if (n >= 0 && (static_cast<unsigned>(n) >= room || dst[n] != 0)) abort();   // a length is terminated in the room
    return 0;
}
