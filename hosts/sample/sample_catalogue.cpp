// The sample catalogue: a few photos in two albums with thumbnails, music, an application.
#include "sample_catalogue.h"
#include <vector>
#include <Corelink.h>
#include <host_driver.h>

namespace {

std::string utf8(const CString& s) { return ToUtf8(s.GetString()); }

template <class Item>
std::string keys(const CArray<Item, Item>& items) {
    std::string out;
    for (INT_PTR i = 0; i < items.GetSize(); ++i) {
        out += (i ? ", " : "") + utf8(items[i].strKey);
        if constexpr (!std::is_same_v<Item, AppDB::VideoItem>) {
            out += " [" + (items[i].strGroup.IsEmpty() ? std::string("no album") : utf8(items[i].strGroup));
            if (items[i].nBinSize) out += ", " + std::to_string(items[i].nBinSize) + "-byte picture";
            out += "]";
        }
    }
    return out.empty() ? "(none)" : out;
}

std::string groups(const CArray<AppDB::NameValue, AppDB::NameValue>& list) {
    std::string out;
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        out += (i ? ", " : "") + (list[i].strName.IsEmpty() ? std::string("(none)") : utf8(list[i].strName)) + " " +
               utf8(list[i].strValue);
    return out;
}

} // namespace

std::string SampleCatalogueReport(const std::wstring& path) {
    AppDB& db = *GetAppDB();
    DeleteFileW(path.c_str());
    if (!db.Init(path.c_str())) return std::string();

    struct Photo { const wchar_t* key; const wchar_t* album; const wchar_t* keywords; };
    const Photo photos[] = {
        {L"IMG_0001.jpg", L"Holiday", L"beach sun sea"},
        {L"IMG_0002.jpg", L"Holiday", L"sunset beach"},
        {L"IMG_0003.jpg", L"Family", L"birthday cake"},
        {L"IMG_0004.jpg", L"", L"receipt"},
    };
    const std::vector<char> thumb(4096, 'T');
    for (const Photo& p : photos) {
        db.SetPhotoItem(AppDB::PhotoItem{p.key, p.album, L"640x480", 0, 0}, p.keywords);
        if (*p.album) db.SetPhotoThumb(p.key, thumb.data(), static_cast<unsigned int>(thumb.size()));
    }
    db.SetMusicItem(L"track01.mp3", L"Road Songs", L"rock road", L"3:12");
    db.SetMusicItem(L"track02.mp3", L"Road Songs", L"rock night", L"4:05");
    db.SetAppItem(L"Chess", L"Games", L"chess board", L"1.2");
    db.SetAppIcon(L"Chess", thumb.data(), 1024);
    db.Flush();

    CArray<AppDB::NameValue, AppDB::NameValue> list;
    std::string out = "catalogue file " + ToUtf8(path) + " (photos, music and an application stored, then flushed)";
    db.GetPhotoAlbumList(list);
    out += "|photo albums with their counts: " + groups(list);
    db.GetMusicAlbumList(list);
    out += "|music albums: " + groups(list);
    db.GetAppCategoryList(list);
    out += "|application categories: " + groups(list);
    out += "|photos: " + std::to_string(db.CountPhotoItems(L"")) + " in all, " +
           std::to_string(db.CountPhotoItems(L"Holiday")) + " in Holiday";

    CArray<AppDB::PhotoItem, AppDB::PhotoItem> page;
    db.GetAllPhotoItems(page, L"", 2, 1);
    out += "|photos, page 1 of 2 per page: " + keys(page);
    db.GetAllPhotoItems(page, L"", 2, 2);
    out += "|photos, page 2: " + keys(page);
    db.SearchPhotoItems(L"beach, sun", L"", page);
    out += "|search \"beach, sun\" in all photos: " + keys(page);
    db.SearchPhotoItems(L"SUNSET", L"Holiday", page);
    out += "|search \"SUNSET\" in Holiday: " + keys(page);
    CArray<AppDB::MusicItem, AppDB::MusicItem> music;
    db.SearchMusicItems(L"rock", L"", music);
    out += "|search \"rock\" in music: " + keys(music);
    CArray<CString, CString> terms;
    out += "|search terms of \" sun, beach -sun \": " + utf8(TokenizeSeartchString(L" sun, beach -sun ", terms));
    db.Cleanup();
    return out;
}
