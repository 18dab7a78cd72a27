// pugixml built a second time, in its wide-character mode (16-bit characters on this
// platform), so that it reads the very UTF-16 text the library reads, with its default
// (copying) load. Its symbols live in a namespace of their own beside the UTF-8 build's.
#pragma once
#include <stddef.h>
#include <string>

struct WidePeerDocument;

// The document read from text (units UTF-16 units, no terminator needed); null when it
// cannot be read. Released with WidePeerFree.
WidePeerDocument* WidePeerLoad(const wchar_t* text, size_t units);
void WidePeerFree(WidePeerDocument* doc);
// The top-level elements as the benchmark's shape text: name[ attr=value](value){children}.
std::string WidePeerShape(const WidePeerDocument* doc);
