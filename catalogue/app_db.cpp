// AppDB: lifecycle, items, configuration values and attachments.
#include <time.h>
#include "AppDB.h"
#include "catalogue_check.h"
#include "catalogue_recover.h"
#include "catalogue_file.h"
#include "catalogue_unload.h"
#include "catalogue_rows.h"
#include "simple_db_rows.h"
#include "sql_text.h"
#include "sqlite_owners.h"
#include "store_errors.h"

namespace {

const char kTable[] = "app";
const wchar_t kVersionName[] = L"VERSION";

int now() { return static_cast<int>(time(nullptr)); }

} // namespace

AppDB::AppDB() : m_pDB(new_store()) {}

// The store's destructor commits what is pending; nobody can be told of a failure any more,
// so its wait is short and a loss goes to the process's log.
AppDB::~AppDB() {
    release_member<unique_store>(m_pDB);
    ForgetInitFailure(this);
}

// The file is read before anything is written to it: a file that cannot be read (damaged,
// locked by another process, not a database) fails Init and stays as it was. A readable
// version row keeps the table whatever its text; a readable file without one has its table
// started anew, and a failure in any step of that fails Init with the store closed.
bool AppDB::Init(const CString& path) {
    const std::string file = ToUtf8(path);
    InitOutcome outcome(this, m_pDB, file.c_str());   // why it failed, for GetInitFailure
    if (m_pDB->IsOpen()) return Fail(ERROR_ALREADY_INITIALIZED);
    m_strPath = path;
    const CatalogueFile state = ReadCatalogueFile(file.c_str(), kTable);
    if (state == CatalogueFile::Unreadable || !m_pDB->Open(file.c_str(), kTable)) return false;
    if (state == CatalogueFile::Versioned) return true;
    CString version;
    version.Format(L"%d.%d", 1, 1);
    if (m_pDB->DropTable() && m_pDB->Open(file.c_str(), kTable) && SetConfigItem(kVersionName, version) &&
        m_pDB->Commit())
        return true;
    m_pDB->Close();
    return false;
}

bool AppDB::Cleanup() { return m_pDB->Close(); }
bool AppDB::IsOpen() const { return m_pDB && m_pDB->IsOpen(); }
// A loss found here stays for Cleanup or Commit to report: Flush has no result.
void AppDB::Flush() { m_pDB->commit_pending(false); }
bool AppDB::Commit() { return m_pDB->IsOpen() ? m_pDB->commit_pending(true) : Fail(kStoreClosed); }
SimpleDB* AppDB::GetDB() { return m_pDB; }

// ---- generic ------------------------------------------------------------------------------

bool AppDB::DeleteItem(const CString& key, int cat) { return m_pDB->Delete(ToUtf8(key).c_str(), cat); }

// The store's bulk delete spares the version row (one statement).
bool AppDB::DeleteAllItems(int cat) { return m_pDB->DeleteAll(cat); }

// ---- configuration --------------------------------------------------------------------------

namespace {
// The reason for refusing an empty key: a closed catalogue first.
bool refuse_key(SimpleDB* db) { return Fail(db->IsOpen() ? kBadArgument : kStoreClosed); }
} // namespace

bool AppDB::SetConfigItem(const CString& name, const CString& value) {
    if (name.IsEmpty()) return refuse_key(m_pDB);
    RowTexts row(name, CAT_CONFIG, now(), CString(), CString(), value);
    return m_pDB->Put(row.get());
}

CString AppDB::GetConfigItem(const CString& name) {
    if (name.IsEmpty()) return refuse_key(m_pDB), CString();
    unique_record r(m_pDB->QueryOne("`key` = %Q AND `cat` & %d", ToUtf8(name).c_str(), CAT_CONFIG));
    return r ? UTF8ToCString(r.get()->value) : CString();
}

bool AppDB::DeleteConfigItem(const CString& name) { return DeleteItem(name, CAT_CONFIG); }
bool AppDB::DeleteAllConfigItems() { return DeleteAllItems(CAT_CONFIG); }

// ---- items ------------------------------------------------------------------------------------

namespace {

bool put_item(SimpleDB* db, int cat, const CString& key, int time, const CString& group, const CString& keywords,
              const CString& value) {
    if (key.IsEmpty()) return refuse_key(db);
    RowTexts row(key, cat, time ? time : now(), group, keywords, value);
    return db->Put(row.get());
}

template <class Item>
bool get_item(SimpleDB* db, int cat, const CString& key, Item& item) {
    if (key.IsEmpty()) return refuse_key(db);
    unique_record r(db->QueryOne("`key` = %Q AND `cat` & %d", ToUtf8(key).c_str(), cat));
    if (!r) return false;
    FillItem(item, *r.get());
    return true;
}

bool get_bin(SimpleDB* db, int cat, const CString& key, void* buffer, unsigned int* size) {
    return (!key.IsEmpty() || refuse_key(db)) && db->GetBin(ToUtf8(key).c_str(), cat, buffer, size);
}

bool set_bin(SimpleDB* db, int cat, const CString& key, const void* data, unsigned int size) {
    return (size <= 0x7FFFFFFFu || Fail(kBadArgument)) && db->SetBin(ToUtf8(key).c_str(), cat, data, static_cast<int>(size));
}

bool has_bin(SimpleDB* db, int cat, const CString& key) {
    return (!key.IsEmpty() || refuse_key(db)) && db->HasBin(ToUtf8(key).c_str(), cat);
}

} // namespace

bool AppDB::SetPhotoItem(const PhotoItem& it, const CString& kw) { return put_item(m_pDB, CAT_PHOTO, it.strKey, it.nTime, it.strGroup, kw, it.strValue); }
bool AppDB::GetPhotoItem(const CString& key, PhotoItem& item) { return get_item(m_pDB, CAT_PHOTO, key, item); }
bool AppDB::DeletePhotoItem(const CString& key) { return DeleteItem(key, CAT_PHOTO); }
bool AppDB::DeleteAllPhotoItems() { return DeleteAllItems(CAT_PHOTO); }
bool AppDB::SetPhotoThumb(const CString& key, const void* data, unsigned int size) { return set_bin(m_pDB, CAT_PHOTO, key, data, size); }
bool AppDB::GetPhotoThumb(const CString& key, void* buffer, unsigned int* size) { return get_bin(m_pDB, CAT_PHOTO, key, buffer, size); }
bool AppDB::HasPhotoThumb(const CString& key) { return has_bin(m_pDB, CAT_PHOTO, key); }

bool AppDB::SetMusicItem(const MusicItem& it, const CString& kw) { return put_item(m_pDB, CAT_MUSIC, it.strKey, it.nTime, it.strGroup, kw, it.strValue); }
bool AppDB::SetMusicItem(const CString& key, const CString& group, const CString& kw, const CString& value) { return put_item(m_pDB, CAT_MUSIC, key, 0, group, kw, value); }
bool AppDB::GetMusicItem(const CString& key, MusicItem& item) { return get_item(m_pDB, CAT_MUSIC, key, item); }
bool AppDB::DeleteMusicItem(const CString& key) { return DeleteItem(key, CAT_MUSIC); }
bool AppDB::DeleteAllMusicItems() { return DeleteAllItems(CAT_MUSIC); }
bool AppDB::SetMusicCover(const CString& key, const void* data, unsigned int size) { return set_bin(m_pDB, CAT_MUSIC, key, data, size); }
bool AppDB::GetMusicCover(const CString& key, void* buffer, unsigned int* size) { return get_bin(m_pDB, CAT_MUSIC, key, buffer, size); }
bool AppDB::HasMusicCover(const CString& key) { return has_bin(m_pDB, CAT_MUSIC, key); }

bool AppDB::SetVideoItem(const VideoItem& it, const CString& kw) { return put_item(m_pDB, CAT_VIDEO, it.strKey, it.nTime, CString(), kw, it.strValue); }
bool AppDB::GetVideoItem(const CString& key, VideoItem& item) { return get_item(m_pDB, CAT_VIDEO, key, item); }
bool AppDB::DeleteVideoItem(const CString& key) { return DeleteItem(key, CAT_VIDEO); }
bool AppDB::DeleteAllVideoItems() { return DeleteAllItems(CAT_VIDEO); }

bool AppDB::SetAppItem(const AppItem& it, const CString& kw) { return put_item(m_pDB, CAT_APP, it.strKey, it.nTime, it.strGroup, kw, it.strValue); }
bool AppDB::SetAppItem(const CString& key, const CString& group, const CString& kw, const CString& value) { return put_item(m_pDB, CAT_APP, key, 0, group, kw, value); }
bool AppDB::GetAppItem(const CString& key, AppItem& item) { return get_item(m_pDB, CAT_APP, key, item); }
bool AppDB::DeleteAppItem(const CString& key) { return DeleteItem(key, CAT_APP); }
bool AppDB::DeleteAllAppItems() { return DeleteAllItems(CAT_APP); }
bool AppDB::SetAppIcon(const CString& key, const void* data, unsigned int size) { return set_bin(m_pDB, CAT_APP, key, data, size); }
bool AppDB::GetAppIcon(const CString& key, void* buffer, unsigned int* size) { return get_bin(m_pDB, CAT_APP, key, buffer, size); }
bool AppDB::HasAppIcon(const CString& key) { return has_bin(m_pDB, CAT_APP, key); }

// ---- the process's object -------------------------------------------------------------------

namespace {
AppDB g_appDB;   // made at load; its destructor commits and closes at unload
}

AppDB* GetAppDB() { return &g_appDB; }

void CloseCatalogueAtUnload() { SimpleDBRows::CloseAtUnload(*g_appDB.GetDB()); }

// ---- damage and recovery ------------------------------------------------------------------

int AppDB::GetInitFailure() const { return InitFailureOf(this); }
int AppDB::CheckFile(const CString& path) { return CheckCatalogueFile(ToUtf8(path).c_str(), true); }
int AppDB::RecoverFile(const CString& path, RecoveryReport& report) { return RecoverCatalogueFile(path, report); }
