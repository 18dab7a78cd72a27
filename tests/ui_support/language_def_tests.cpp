// Reading "Language.def": tokens of a line, and lines longer than one piece.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <language_def.h>
#include <unique_res.h>

namespace {

TEST(LanguageDefLine, Tokens) {
    struct Row {
        const char* line;
        const char* id;
        bool hasName;
        const char* name;
    } rows[] = {
        {"0411 Japanese\n", "0411", true, "Japanese"},
        {"0404 Chinese (Traditional)\n", "0404", true, "Chinese (Traditional)"},
        {"0411, Japanese\n", "0411", true, " Japanese"},
        {"0411\tJapanese;comment\n", "0411", true, "Japanese"},
        {"0411;;Japanese\n", "0411", true, "Japanese"},
        {"  0411 Japanese", "0411", true, "Japanese"},
        {"0411 a, b c\n", "0411", true, "a, b c"},
        {"0411\n", "0411", false, ""},
        {"0411", "0411", false, ""},
        {"0411 ;\n", "0411", false, ""},
        {"\n", "", false, ""},
        {"", "", false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        LanguageDefLine line = SplitLanguageDefLine(r.line);
        EXPECT_EQ(r.id, line.id);
        EXPECT_EQ(r.hasName, line.hasName);
        EXPECT_EQ(r.name, line.name);
    }
}

// The answer for id of a file with the given content ("<none>" when no line matches).
std::string lookup(const std::string& content, const char* id) {
    win32::unique_stream f(tmpfile());
    if (!f) return "<no file>";
    fwrite(content.data(), 1, content.size(), f.get());
    rewind(f.get());
    std::string name;
    return FindLanguageDefName(f.get(), id, &name) ? name : "<none>";
}

TEST(LanguageDefFile, Lookup) {
    const std::string longTail(300, 'x');
    struct Row {
        const char* what;
        std::string content;
        const char* id;
        const char* expected;
    } rows[] = {
        {"first match wins", "0411 Japanese\n0411 Deutsch\n", "0411", "Japanese"},
        {"case of the identifier", "0c0a Spanish\n", "0C0A", "Spanish"},
        {"no second token: keep reading", "0411\n0411 Japanese\n", "0411", "Japanese"},
        {"no line for the identifier", "0409 English\n", "0411", "<none>"},
        {"empty file", "", "0411", "<none>"},
        {"last line without line feed", "0409 English\n0411 Japanese", "0411", "Japanese"},
        {"rest of a long line is no line", "0409 " + std::string(194, 'x') + "0411 Deutsch\n", "0411", "<none>"},
        {"line after a long line", "0409 " + longTail + "\n0411 Japanese\n", "0411", "Japanese"},
        {"long line whose name ends in its first piece", "0411 Japanese;" + longTail + "\n", "0411", "Japanese"},
        {"long line whose name runs on is refused", "0411 " + longTail + "\n0411 Japanese\n", "0411", "Japanese"},
        {"line of exactly one piece at the end", "0411 " + std::string(194, 'y'), "0411", nullptr},
        {"line of exactly one piece and its line feed", "0411 " + std::string(194, 'y') + "\n", "0411", nullptr},
        {"line of one piece, then another line", "0409 " + std::string(194, 'y') + "\n0411 Japanese\n", "0411", "Japanese"},
        {"line of one piece and a line feed, then a line of one piece",
         "0409 " + std::string(194, 'x') + "\n0411 " + std::string(194, 'y') + "\n", "0411", nullptr},
        {"line one character over a piece is refused", "0411 " + std::string(195, 'y') + "\n0411 Japanese\n", "0411",
         "Japanese"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string expected = r.expected ? r.expected : std::string(194, 'y');
        EXPECT_EQ(expected, lookup(r.content, r.id));
    }
}

} // namespace
