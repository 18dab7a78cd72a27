// Language and skin resources in a real host: the registry's choice, the locale of the
// process, "Language.def" in its folder, and the language and skin files it loads.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "language_folder.h"

namespace {

const char kEnglishTitle[] = "Quillbox Handset Manager";
const char kGermanTitle[] = "Quillbox Handy-Manager";
const char kJapaneseTitle[] = "Quillbox \xE6\x90\xBA\xE5\xB8\xAF\xE9\x9B\xBB\xE8\xA9\xB1\xE3\x83\x9E\xE3\x83\x8D\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA3\xE3\x83\xBC";

class LanguageResources : public testing::Test {
protected:
    void SetUp() override { SetLanguageValue(nullptr); }
    void TearDown() override { SetLanguageValue(nullptr); }
};

// One way of choosing the language, and what the loaders make of it.
struct Choice {
    const char* what;
    const wchar_t* registry;           // "Language" value; null: absent
    const char* locale;                // LC_ALL of the host: the row runs in the test program started with it
    const char* languageDef;           // content of "Language.def"; null: no file
    std::vector<std::pair<const wchar_t*, const wchar_t*>> copies;   // extra files, built name -> name
    const char* base;                  // base name given to the language loader
    // expected
    const char* file;
    const char* language;
    const char* charset;
    const char* font;
    const char* app;
    const char* skin;                  // the file _LoadSkinResource("CorelinkSkin") loads
};

const std::string kLongLine = "0409 " + std::string(194, 'x') + "0411 Deutsch\n";
const std::string kLongLineThenJapanese = kLongLine + "0411 Japanese\n";

const Choice kChoices[] = {
    {"no registry value, Spanish locale", nullptr, "es_ES.UTF-8", nullptr,
     {{L"Corelink(Deutsch).lng", L"Corelink(Spanish).lng"}}, "Corelink",
     "Corelink(Spanish).lng", "Spanish", "0", "0", kGermanTitle, "CorelinkSkin.dll"},
    {"Japanese locale, not in the table, no Language.def", nullptr, "ja_JP.UTF-8", nullptr,
     {{L"Deutsch_CorelinkSkin.dll", L"_CorelinkSkin.dll"}}, "Corelink",
     "none", "Default", "0", "0", kEnglishTitle, "_CorelinkSkin.dll"},
    {"Japanese locale named by Language.def", nullptr, "ja_JP.UTF-8", "0404 Chinese (Traditional)\n0411 Japanese\n", {}, "Corelink",
     "Corelink(Japanese).lng", "Japanese", "128", "-2", kJapaneseTitle, "CorelinkSkin.dll"},
    {"Language.def with a comma keeps the blank", nullptr, "ja_JP.UTF-8", "0411, Japanese\n",
     {{L"Corelink(Japanese).lng", L"Corelink( Japanese).lng"}}, "Corelink",
     "Corelink( Japanese).lng", " Japanese", "0", "0", kJapaneseTitle, "CorelinkSkin.dll"},
    {"Language.def: a long line's rest is not a line", nullptr, "ja_JP.UTF-8", kLongLine.c_str(), {}, "Corelink",
     "none", "Default", "0", "0", kEnglishTitle, "CorelinkSkin.dll"},
    {"Language.def: a line after a long one counts", nullptr, "ja_JP.UTF-8", kLongLineThenJapanese.c_str(), {}, "Corelink",
     "Corelink(Japanese).lng", "Japanese", "128", "-2", kJapaneseTitle, "CorelinkSkin.dll"},
    {"English locale", nullptr, "en_US.UTF-8", nullptr, {}, "Corelink",
     "none", "English", "0", "0", kEnglishTitle, "CorelinkSkin.dll"},
    {"registry English", L"English", "de_DE.UTF-8", nullptr, {}, "Corelink",
     "none", "English", "0", "0", kEnglishTitle, "CorelinkSkin.dll"},
    {"registry Deutsch", L"Deutsch", "", nullptr, {}, "Corelink",
     "Corelink(Deutsch).lng", "Deutsch", "0", "0", kGermanTitle, "Deutsch_CorelinkSkin.dll"},
    {"registry Japanese, file of this version", L"Japanese", "", nullptr, {}, "Corelink",
     "Corelink(Japanese).lng", "Japanese", "128", "-2", kJapaneseTitle, "CorelinkSkin.dll"},
    {"registry Japanese, file of another version", L"Japanese", "", nullptr, {}, "Legacy",
     "none", "Default", "0", "0", kEnglishTitle, "CorelinkSkin.dll"},
    {"registry Default follows the locale", L"Default", "de_DE.UTF-8", nullptr, {}, "Corelink",
     "Corelink(Deutsch).lng", "Deutsch", "0", "0", kGermanTitle, "Deutsch_CorelinkSkin.dll"},
    {"registry default in lower case is a name", L"default", "de_DE.UTF-8", nullptr,
     {{L"Corelink(Deutsch).lng", L"Corelink(default).lng"}, {L"Deutsch_CorelinkSkin.dll", L"default_CorelinkSkin.dll"}}, "Corelink",
     "Corelink(default).lng", "default", "0", "0", kGermanTitle, "default_CorelinkSkin.dll"},
    {"registry names a language without files", L"Klingon", "", nullptr, {}, "Corelink",
     "none", "Default", "0", "0", kEnglishTitle, "CorelinkSkin.dll"},
};

// ctest runs this program once per locale of the table (see CMakeLists.txt).
TEST_F(LanguageResources, ChoiceOfLanguageAndFiles) {
    int rows = 0;
    for (const Choice& c : kChoices) {
        if (TestLocale() != c.locale) continue;
        ++rows;
        SCOPED_TRACE(c.what);
        SetLanguageValue(c.registry);
        LanguageFolder folder;
        ASSERT_TRUE(folder.Ok());
        for (const auto& copy : c.copies) {
            ASSERT_TRUE(folder.CopyAs(copy.first, copy.second));
        }
        if (c.languageDef) {
            ASSERT_TRUE(folder.Write(L"Language.def", c.languageDef));
        }
        HostProcess host;
        ASSERT_TRUE(folder.Start(host));
        std::string report = host.Value(std::string("language-load ") + c.base);
        SCOPED_TRACE("locale " + host.Value("locale") + " in " + host.Value("folder"));
        EXPECT_EQ(c.file, Field(report, "file")) << report;
        EXPECT_EQ(c.language, Field(report, "language")) << report;
        EXPECT_EQ(c.charset, Field(report, "charset")) << report;
        EXPECT_EQ(c.font, Field(report, "font")) << report;
        EXPECT_EQ(c.app, Field(report, "app")) << report;
        EXPECT_EQ(std::string(c.skin) + " 60x84", host.Value("skin-load CorelinkSkin"));
        host.Quit();
    }
    EXPECT_GT(rows, 0) << "no row for the locale \"" << TestLocale() << "\"";
}

TEST_F(LanguageResources, GermanFileBecomesTheResourceSource) {
    SetLanguageValue(L"Deutsch");
    LanguageFolder folder;
    ASSERT_TRUE(folder.Ok());
    HostProcess host;
    ASSERT_TRUE(folder.Start(host));
    EXPECT_EQ("Name\\nEnter a name", host.Value("string 2003"));
    EXPECT_EQ("Corelink(Deutsch).lng", Field(host.Value("language-load Corelink"), "file"));
    EXPECT_EQ("Name\\nNamen eingeben", host.Value("string 2003"));
    EXPECT_EQ("Verbindungshinweis", host.Value("string 2200"));
    EXPECT_EQ(kGermanTitle, host.Value("app"));
    // The dialog templates come from the language file too.
    std::string dialog = host.Value("dialog 15021");
    EXPECT_NE(std::string::npos, dialog.find("|2=Abbrechen")) << dialog;
    EXPECT_NE(std::string::npos, dialog.find("|15019=Speichern &in:")) << dialog;
    dialog = host.Value("dialog 7011");
    EXPECT_NE(std::string::npos, dialog.find("|7217=Abbrechen")) << dialog;
    host.Quit();
}

TEST_F(LanguageResources, BuiltInResourcesStayWithoutALanguageFile) {
    SetLanguageValue(L"English");
    LanguageFolder folder;
    ASSERT_TRUE(folder.Ok());
    HostProcess host;
    ASSERT_TRUE(folder.Start(host));
    EXPECT_EQ("none", Field(host.Value("language-load Corelink"), "file"));
    EXPECT_EQ("Connection hint", host.Value("string 2200"));
    std::string dialog = host.Value("dialog 15007");
    EXPECT_EQ(0u, dialog.find("Position|")) << dialog;
    EXPECT_NE(std::string::npos, dialog.find("|2=Cancel")) << dialog;
    EXPECT_NE(std::string::npos, dialog.find("|15000=")) << dialog;
    host.Quit();
}

TEST_F(LanguageResources, MissingOrEmptyNamesLoadNothing) {
    SetLanguageValue(L"Deutsch");
    LanguageFolder folder;
    ASSERT_TRUE(folder.Ok());
    HostProcess host;
    ASSERT_TRUE(folder.Start(host));
    for (const char* base : {"<null>", ""}) {
        SCOPED_TRACE(base);
        std::string report = host.Value(std::string("language-load ") + base);
        EXPECT_EQ("none", Field(report, "file"));
        EXPECT_EQ("", Field(report, "language")) << "the foundation library was not told anything";
        EXPECT_EQ("none", host.Value(std::string("skin-load ") + base));
        EXPECT_EQ("none", host.Value(std::string("registry-load Software\\Veranox|") + base));
    }
    // A name too long for a file name is refused, not cut.
    std::string longName(400, 'a');
    EXPECT_EQ("none", Field(host.Value("language-load " + longName), "file"));
    EXPECT_EQ("none", host.Value("skin-load " + longName));
    EXPECT_EQ("Name\\nEnter a name", host.Value("string 2003"));
    host.Quit();
}

TEST_F(LanguageResources, LibraryRecordedInTheRegistry) {
    const std::wstring kRoot = L"Software\\Veranox\\LanguageTests";
    // The registry limits each key name to 255 characters, not the path: a path of 340.
    std::wstring deep;
    for (int i = 0; deep.size() < 300; ++i) deep += L"\\Level" + std::to_wstring(i);
    struct Row {
        const char* what;
        std::wstring root;        // the caller's key
        const wchar_t* exePath;   // null: no key
        const char* name;
        const char* loaded;
    } rows[] = {
        {"full path: the file name is searched", kRoot, L"C:\\Program Files\\Veranox\\Hintbook.dll", "Hints", "Hintbook.dll"},
        {"file name only", kRoot, L"Hintbook.dll", "Hints", "Hintbook.dll"},
        {"empty path", kRoot, L"", "Hints", "none"},
        {"no such key", kRoot, nullptr, "Hints", "none"},
        {"file that does not exist", kRoot, L"C:\\Veranox\\Absent.dll", "Hints", "none"},
        {"null name", kRoot, L"Hintbook.dll", "<null>", "none"},
        {"key path of 340 characters", kRoot + deep, L"Hintbook.dll", "Hints", "Hintbook.dll"},
    };
    LanguageFolder folder;
    ASSERT_TRUE(folder.Ok());
    HostProcess host;
    ASSERT_TRUE(folder.Start(host));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::wstring key = r.root + L"\\GUI\\Hints";
        if (r.root.size() > kRoot.size()) {
            EXPECT_GE(key.size(), 340u);
        }
        SetExePath(key.c_str(), r.exePath);
        EXPECT_EQ(r.loaded, host.Value("registry-load " + ToUtf8(r.root) + "|" + std::string(r.name)));
    }
    SetExePath(kRoot.c_str(), nullptr);
    host.Quit();
}

} // namespace
