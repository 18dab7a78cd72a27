// Reading "Language.def".
#include "language_def.h"
#include <string.h>

namespace {

bool same_ignoring_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool is_one_of(char c, const char* set) { return c && strchr(set, c) != nullptr; }

} // namespace

LanguageDefLine SplitLanguageDefLine(const std::string& text) {
    static const char kIdEnd[] = " \t,;\n";
    static const char kNameEnd[] = ";\n";
    LanguageDefLine line;
    size_t i = 0, n = text.size();
    while (i < n && is_one_of(text[i], kIdEnd)) ++i;
    size_t start = i;
    while (i < n && text[i] && !is_one_of(text[i], kIdEnd)) ++i;
    line.id = text.substr(start, i - start);
    if (line.id.empty() || i >= n || !text[i]) return line;   // no character ended the identifier
    ++i;                                                       // the character that ended it
    while (i < n && is_one_of(text[i], kNameEnd)) ++i;
    start = i;
    while (i < n && text[i] && !is_one_of(text[i], kNameEnd)) ++i;
    if (i == start) return line;
    line.name = text.substr(start, i - start);
    line.hasName = true;
    line.nameEnded = i < n && text[i] != 0;
    return line;
}

bool FindLanguageDefName(FILE* file, const std::string& id, std::string* name) {
    if (!file) return false;
    char piece[kLanguageDefPiece + 1];
    bool lineStart = true;
    while (fgets(piece, sizeof(piece), file)) {
        std::string text(piece);
        bool wholeLine = !text.empty() && text.back() == '\n';
        bool continues = false;
        if (!wholeLine) {
            // A line of exactly one piece leaves its line feed for the next read: it ends
            // the line here, it is no piece of its own.
            int next = getc(file);
            continues = next != EOF && next != '\n';
            if (continues) ungetc(next, file);
        }
        if (lineStart) {
            LanguageDefLine line = SplitLanguageDefLine(text);
            // A name that runs into the next piece would be cut: such a line gives nothing.
            bool complete = line.nameEnded || !continues;
            if (line.hasName && complete && same_ignoring_case(line.id, id)) {
                if (name) *name = line.name;
                return true;
            }
        }
        lineStart = !continues;
    }
    return false;
}
