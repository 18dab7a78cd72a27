// Catalogue queries: group lists, counts, pages, searches and search terms.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include <Corelink.h>
#include "catalogue_files.h"

namespace {

class Queries : public testing::Test {
protected:
    void SetUp() override {
        path = NewDatabasePath();
        ASSERT_TRUE(db.Init(path.c_str()));
    }
    void AddPhoto(const CString& key, const CString& group, const CString& keywords) {
        ASSERT_TRUE(db.SetPhotoItem(AppDB::PhotoItem{key, group, L"", 0, 0}, keywords));
    }
    template <class Item>
    static std::string Keys(const CArray<Item, Item>& items) {
        std::string out;
        for (INT_PTR i = 0; i < items.GetSize(); ++i) {
            for (int c = 0; c < items[i].strKey.GetLength(); ++c) out += static_cast<char>(items[i].strKey[c]);
            out += ' ';
        }
        return out;
    }
    std::wstring path;
    AppDB db;
};

} // namespace

TEST_F(Queries, AlbumListsAndCounts) {
    AddPhoto(L"a1", L"A", L"");
    AddPhoto(L"a2", L"A", L"");
    AddPhoto(L"b1", L"B", L"");
    for (const wchar_t* k : {L"n1", L"n2", L"n3"}) AddPhoto(k, L"", L"");
    ASSERT_TRUE(db.SetMusicItem(L"m", L"A", L"", L""));   // another kind, same album name

    CArray<AppDB::NameValue, AppDB::NameValue> list;
    ASSERT_TRUE(db.GetPhotoAlbumList(list));
    std::map<std::wstring, std::wstring> albums;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) albums[list[i].strName.GetString()] = list[i].strValue.GetString();
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"", L"3"}, {L"A", L"2"}, {L"B", L"1"}}), albums);

    EXPECT_EQ(6u, db.CountPhotoItems(L""));
    EXPECT_EQ(2u, db.CountPhotoItems(L"A"));
    EXPECT_EQ(0u, db.CountPhotoItems(L"Nothing"));
    EXPECT_EQ(1u, db.CountMusicItems(L"A"));
    EXPECT_EQ(0u, db.CountVideoItems());
    ASSERT_TRUE(db.GetMusicAlbumList(list));
    EXPECT_EQ(1, list.GetSize());

    // A long album name gives the right count (the statement is never cut short).
    const CString longName(L'\u00e9', 400);
    AddPhoto(L"long", longName, L"");
    EXPECT_EQ(1u, db.CountPhotoItems(longName));
    EXPECT_EQ(0u, db.CountPhotoItems(longName + L"x"));
}

TEST_F(Queries, PagesOfAnAlbum) {
    for (int i = 0; i < 25; ++i) {
        CString key;
        key.Format(L"p%02d", i);
        AddPhoto(key, L"Big", L"");
    }
    AddPhoto(L"other", L"Small", L"");
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"Big", 10, 2));
    EXPECT_EQ(10, items.GetSize());
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"Big", 10, 3));
    EXPECT_EQ(5, items.GetSize());
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"Big", 0, 0));
    EXPECT_EQ(25, items.GetSize());
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> first;
    ASSERT_TRUE(db.GetAllPhotoItems(first, L"Big", 10, 0));
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> one;
    ASSERT_TRUE(db.GetAllPhotoItems(one, L"Big", 10, 1));
    EXPECT_EQ(Keys(one), Keys(first));
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
    EXPECT_EQ(26, items.GetSize());

    // A page whose offset does not fit an int is refused; the array keeps what it had.
    EXPECT_FALSE(db.GetAllPhotoItems(items, L"Big", 1000, 3000000));
    EXPECT_EQ(26, items.GetSize());
    CArray<AppDB::VideoItem, AppDB::VideoItem> videos;
    EXPECT_FALSE(db.GetAllVideoItems(videos, 2, 0x7FFFFFFF));
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"Big", 1000, 2));   // far past the end, in range
    EXPECT_EQ(0, items.GetSize());
}

TEST_F(Queries, SearchesMatchEveryTermCaseInsensitively) {
    AddPhoto(L"beach", L"Summer", L"Sun, sand and the beach");
    AddPhoto(L"sunset", L"Summer", L"SUNSET at sea");
    AddPhoto(L"snow", L"Winter", L"snow and sun");
    AddPhoto(L"bare", L"Summer", L"");
    AddPhoto(L"quote", L"", L"the captain's log, 50% off");
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;

    struct Case { const wchar_t* search; const wchar_t* group; const char* keys; };
    const Case cases[] = {
        {L"sun, sun", L"", "beach sunset snow "},
        {L"sun beach", L"", "beach "},
        {L"sun", L"Summer", "beach sunset "},
        {L"captain's", L"", "quote "},
        {L"50%", L"", "quote "},
        {L"", L"", "beach sunset snow quote "},   // one empty term: every item with keywords
        {L"nothing", L"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "search \"" << c.search << "\" in group \"" << c.group << "\"");
        ASSERT_TRUE(db.SearchPhotoItems(c.search, c.group, items));
        EXPECT_EQ(c.keys, Keys(items));
    }

    AppDB::VideoItem with{L"v1", L"", 0}, without{L"v2", L"", 0};
    ASSERT_TRUE(db.SetVideoItem(with, L"holiday"));
    ASSERT_TRUE(db.SetVideoItem(without, L""));
    CArray<AppDB::VideoItem, AppDB::VideoItem> videos;
    ASSERT_TRUE(db.SearchVideoItems(L"", videos));
    EXPECT_EQ("v1 ", Keys(videos));

    const CString longTerm(L'x', 3000);
    AddPhoto(L"long", L"", longTerm);
    ASSERT_TRUE(db.SearchPhotoItems(longTerm, L"", items));
    EXPECT_EQ("long ", Keys(items));
}

TEST_F(Queries, ApplicationsCarryTheirIconSize) {
    ASSERT_TRUE(db.SetAppItem(L"with", L"Tools", L"tool", L""));
    ASSERT_TRUE(db.SetAppItem(L"without", L"Tools", L"tool", L""));
    const char icon[42] = {};
    ASSERT_TRUE(db.SetAppIcon(L"with", icon, sizeof(icon)));
    CArray<AppDB::AppItem, AppDB::AppItem> apps;
    ASSERT_TRUE(db.SearchAppItems(L"tool", L"Tools", apps));
    ASSERT_EQ(2, apps.GetSize());
    for (INT_PTR i = 0; i < apps.GetSize(); ++i) EXPECT_EQ(apps[i].strKey == L"with" ? 42 : 0, apps[i].nBinSize);
    ASSERT_TRUE(db.GetAllAppItems(apps, L"", 0, 0));
    EXPECT_EQ(2, apps.GetSize());
}

TEST(SearchTerms, TokenizeTable) {
    struct Case { const wchar_t* in; const wchar_t* joined; int terms; };
    const Case cases[] = {
        {L" a,b  a-c ", L"a b c", 3},
        {L"Sun sun", L"Sun sun", 2},
        {L"", L"", 1},
        {L",;|&", L"", 1},
        {L"one\ttwo\r\nthree", L"one two three", 3},
        {L"x_y*z?w:v~u!t", L"x y z w v u t", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input \"" << c.in << "\"");
        CArray<CString, CString> terms;
        terms.Add(L"stale");
        EXPECT_STREQ(c.joined, TokenizeSeartchString(c.in, terms).GetString());
        EXPECT_EQ(c.terms, terms.GetSize());
    }
}

// A whole listing gives what the single-item read gives for each item, in the table's
// order, whatever its size: none, one, and enough to cross several of the array's growth
// steps; texts at the edge of plain ASCII and past it, empty texts and attachments.
TEST_F(Queries, ListingsCarryEveryFieldLikeTheSingleRead) {
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    items.Add(AppDB::PhotoItem{L"stale", L"", L"", 0, 0});
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
    EXPECT_EQ(0, items.GetSize());

    const wchar_t* texts[] = {L"", L"a", L"\x7f", L"\x80", L"A\u00e9", L"\u65e5\u672c", L"x\U0001F600y", L"sixteen chars 16"};
    const int kTexts = sizeof(texts) / sizeof(texts[0]);
    std::vector<CString> keys;
    for (int i = 0; i < 300; ++i) {
        CString key;
        key.Format(L"k%03d%s", i, texts[i % kTexts]);
        keys.push_back(key);
        ASSERT_TRUE(db.SetPhotoItem(AppDB::PhotoItem{key, texts[(i + 1) % kTexts], texts[(i + 2) % kTexts], 100 + i, 0}, L""));
        if (i % 3 == 0) {
            ASSERT_TRUE(db.SetPhotoThumb(key, "abc", 1 + i % 5));
        }
        if (i == 0) {
            ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
            ASSERT_EQ(1, items.GetSize());
            EXPECT_STREQ(L"k000", items[0].strKey.GetString());
        }
    }
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
    ASSERT_EQ(300, items.GetSize());
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        AppDB::PhotoItem one{};
        ASSERT_TRUE(db.GetPhotoItem(keys[i], one));
        EXPECT_STREQ(keys[i].GetString(), items[i].strKey.GetString());
        EXPECT_STREQ(one.strGroup.GetString(), items[i].strGroup.GetString());
        EXPECT_STREQ(texts[(i + 1) % kTexts], items[i].strGroup.GetString());
        EXPECT_STREQ(one.strValue.GetString(), items[i].strValue.GetString());
        EXPECT_EQ(100 + i, items[i].nTime);
        EXPECT_EQ(i % 3 == 0 ? 1 + i % 5 : 0, items[i].nBinSize);
        EXPECT_EQ(one.nBinSize, items[i].nBinSize);
    }
    // One album of them: every eighth item.
    ASSERT_TRUE(db.GetAllPhotoItems(items, texts[2], 0, 0));
    EXPECT_EQ(300 / kTexts + (300 % kTexts > 1 ? 1 : 0), items.GetSize());
}

// A row that another program wrote with an empty key ends a listing there, as it always
// has; the rows before it are listed.
TEST_F(Queries, ARowWithoutAKeyEndsTheListing) {
    AddPhoto(L"first", L"", L"");
    db.Flush();
    {
        Reader other(path);
        ASSERT_TRUE(other.Exec("INSERT INTO app (key, cat) VALUES ('', 8), ('after', 8)"));
    }
    CArray<AppDB::PhotoItem, AppDB::PhotoItem> items;
    ASSERT_TRUE(db.GetAllPhotoItems(items, L"", 0, 0));
    EXPECT_EQ("first ", Keys(items));
}
