// AppDB queries: group lists, counts, paged listings and keyword searches.
#include "AppDB.h"
#include "catalogue_rows.h"
#include "search_terms.h"
#include "sqlite_owners.h"
#include "store_errors.h"

namespace {

std::string kind_condition(int cat, const CString& group) {
    std::string cond = AppDB::Format(const_cast<char*>("`cat` & %d"), cat);
    if (!group.IsEmpty()) cond += AppDB::Format(const_cast<char*>(" AND `group` = '%q'"), ToUtf8(group).c_str());
    return cond;
}

bool group_list(SimpleDB* db, int cat, CArray<AppDB::NameValue, AppDB::NameValue>& list) {
    unique_record_set set(db->QueryGroups(nullptr, 0, 0, "group", "`cat` & %d", cat));
    if (!set) return false;
    list.RemoveAll();
    for (int i = 0; i < set.get()->count; ++i) {
        const SimpleDB::Record& r = set.get()->records[i];
        AppDB::NameValue nv;
        nv.strName = UTF8ToCString(r.key);
        nv.strValue.Format(L"%d", r.level);
        list.Add(nv);
    }
    return true;
}

unsigned int count(SimpleDB* db, const std::string& cond) {
    int n = db->Count("%s", cond.c_str());
    return n < 0 ? 0 : static_cast<unsigned int>(n);
}

// The rows go from the statement straight into the caller's array: no copy of the whole
// result is held on the way. They come after what the array held, which goes only once
// every row has been read: a statement that cannot be made, or a step that fails before
// the rows' end (a lock another program holds, a damaged page), leaves the array as it was.
// The room is made once for `expected` rows and grows only if more come, since each growth
// holds the old and the new array at once. A row without a key ends the listing.
template <class Item>
bool list_items(SimpleDB* db, const std::string& cond, int perPage, int page, int expected, CArray<Item, Item>& items) {
    unique_stmt rows;
    if (!SimpleDBRows::Prepare(*db, cond, perPage, page, rows)) return false;
    const INT_PTR before = items.GetSize();
    items.SetSize(before + (expected > 0 ? expected : 0));
    INT_PTR n = before;
    sqlite3_stmt* row = rows.get();
    int rc;
    while ((rc = sqlite3_step(row)) == SQLITE_ROW) {
        const unsigned char* key = sqlite3_column_text(row, kRowKey);
        if (!key || !*key) {
            rc = SQLITE_DONE;
            break;
        }
        if (n == items.GetSize()) items.SetSize(n + 1);
        FillItemFromRow(items[n++], row);
    }
    items.SetSize(rc == SQLITE_DONE ? n : before);
    if (rc != SQLITE_DONE) return FailSqlite(rc);
    items.RemoveAt(0, before);
    return true;
}

// A whole listing (no page size) counts its rows first, to make the array once: a count
// reads no texts and costs a small part of the listing. A page grows as its rows come.
template <class Item>
bool all_items(SimpleDB* db, const std::string& cond, int perPage, int page, CArray<Item, Item>& items) {
    const int expected = perPage > 0 ? 0 : db->Count("%s", cond.c_str());
    return list_items(db, cond, perPage, page, expected, items);
}

template <class Item>
bool search_items(SimpleDB* db, const CString& search, int cat, const CString& group, CArray<Item, Item>& items) {
    std::string cond;
    BuildSearchCondition(search, cond);
    if (!cond.empty()) cond += " AND ";
    cond += kind_condition(cat, group);
    return list_items(db, cond, 0, 0, 0, items);
}

} // namespace

bool AppDB::GetPhotoAlbumList(CArray<NameValue, NameValue>& list) { return group_list(m_pDB, CAT_PHOTO, list); }
bool AppDB::GetMusicAlbumList(CArray<NameValue, NameValue>& list) { return group_list(m_pDB, CAT_MUSIC, list); }
bool AppDB::GetAppCategoryList(CArray<NameValue, NameValue>& list) { return group_list(m_pDB, CAT_APP, list); }

unsigned int AppDB::CountPhotoItems(const CString& group) { return count(m_pDB, kind_condition(CAT_PHOTO, group)); }
unsigned int AppDB::CountMusicItems(const CString& group) { return count(m_pDB, kind_condition(CAT_MUSIC, group)); }
unsigned int AppDB::CountAppItems(const CString& group) { return count(m_pDB, kind_condition(CAT_APP, group)); }
unsigned int AppDB::CountVideoItems() { return count(m_pDB, kind_condition(CAT_VIDEO, CString())); }

bool AppDB::GetAllPhotoItems(CArray<PhotoItem, PhotoItem>& items, const CString& group, int n, int page) {
    return all_items(m_pDB, kind_condition(CAT_PHOTO, group), n, page, items);
}
bool AppDB::GetAllMusicItems(CArray<MusicItem, MusicItem>& items, const CString& group, int n, int page) {
    return all_items(m_pDB, kind_condition(CAT_MUSIC, group), n, page, items);
}
bool AppDB::GetAllAppItems(CArray<AppItem, AppItem>& items, const CString& group, int n, int page) {
    return all_items(m_pDB, kind_condition(CAT_APP, group), n, page, items);
}
bool AppDB::GetAllVideoItems(CArray<VideoItem, VideoItem>& items, int n, int page) {
    return all_items(m_pDB, kind_condition(CAT_VIDEO, CString()), n, page, items);
}

bool AppDB::SearchPhotoItems(const CString& search, const CString& group, CArray<PhotoItem, PhotoItem>& items) {
    return search_items(m_pDB, search, CAT_PHOTO, group, items);
}
bool AppDB::SearchMusicItems(const CString& search, const CString& group, CArray<MusicItem, MusicItem>& items) {
    return search_items(m_pDB, search, CAT_MUSIC, group, items);
}
bool AppDB::SearchAppItems(const CString& search, const CString& group, CArray<AppItem, AppItem>& items) {
    return search_items(m_pDB, search, CAT_APP, group, items);
}
bool AppDB::SearchVideoItems(const CString& search, CArray<VideoItem, VideoItem>& items) {
    return search_items(m_pDB, search, CAT_VIDEO, CString(), items);
}
