// The "Language.def" override file: lines that map a locale's language identifier (four
// hexadecimal digits) to a language name, as in "0404 Chinese (Traditional)".
//
// The first token ends at a blank, tab, comma, semicolon or line feed; the name starts
// right after that character (semicolons and line feeds skipped) and runs to the next
// semicolon or line feed, so it may hold blanks and commas. Plain C++ and stdio only.
#pragma once
#include <stdio.h>
#include <string>

// Lines are read in pieces of at most this many characters.
constexpr int kLanguageDefPiece = 199;

struct LanguageDefLine {
    std::string id;          // the first token (empty: none)
    std::string name;        // the second token
    bool hasName = false;    // a second token exists
    bool nameEnded = false;  // the name ended at a semicolon or line feed, not at the text's end
};

// Splits one line (or the first piece of a long one).
LanguageDefLine SplitLanguageDefLine(const std::string& text);

// Reads the file from its current position until end of file or a read error. True, with
// the name in *name, for the first line whose identifier equals id without regard to case
// and that has a name. A line of up to one piece (its line feed aside) is whole; a longer line
// is judged by its first piece only, and only when the name ended inside that piece; its
// further pieces are never taken as lines.
bool FindLanguageDefName(FILE* file, const std::string& id, std::string* name);
