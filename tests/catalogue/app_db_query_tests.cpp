// Catalogue queries: group lists, counts, pages, searches and search terms.
#include <gtest/gtest.h>
#include <map>
#include <Corelink.h>
#include "catalogue_files.h"

namespace {

class Queries : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Init(NewDatabasePath().c_str())); }
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
