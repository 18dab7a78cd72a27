// The "Language.def" reader on arbitrary file contents: the line splitter on each line, and
// the file reader from a memory stream, looking up the first line's identifier.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "language_def.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const LanguageDefLine first = SplitLanguageDefLine(text);
    if (first.hasName && first.name.empty()) abort();
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    std::string name;
    FindLanguageDefName(file, first.id.empty() ? std::string("0411") : first.id, &name);
    fclose(file);
    return 0;
}
