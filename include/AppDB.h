// AppDB: the catalogue of a handset's photos, music, videos and applications, with their
// thumbnails, covers and icons, and the catalogue's configuration values, in one SQLite
// table "app". Each process has one object (GetAppDB); it works once Init has opened a file.
//
// Texts are CString (UTF-16) and stored as UTF-8; an empty text is stored as NULL and a
// NULL reads back as an empty text. Writes join one transaction until Flush or Cleanup.
#pragma once
#include <string>
#include <afxstr.h>
#include <afxtempl.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"
#include "SimpleDB.h"

class CORELINK_API AppDB {
public:
    enum {
        CAT_CONFIG = 1,
        CAT_VIDEO = 4,
        CAT_PHOTO = 8,
        CAT_MUSIC = 16,
        CAT_APP = 128,
    };

    struct PhotoItem { CString strKey; CString strGroup; CString strValue; int nTime; int nBinSize; };
    struct MusicItem { CString strKey; CString strGroup; CString strValue; int nTime; int nBinSize; };
    struct AppItem { CString strKey; CString strGroup; CString strValue; int nTime; int nBinSize; };
    struct VideoItem { CString strKey; CString strValue; int nTime; };
    struct NameValue { CString strName; CString strValue; };

    AppDB();
    virtual ~AppDB();
    AppDB(const AppDB&) = delete;
    AppDB& operator=(const AppDB&) = delete;

    // Opens the catalogue file (made when missing). A file that cannot be read (damaged,
    // locked by a process that is writing it, not a database) fails and is left as it was.
    // A readable table with a non-empty "VERSION" row is kept, whatever the version says;
    // a readable file without one gets the table anew (after a check of the whole file),
    // and Init fails, closed, when any step of that fails. False when already open.
    bool Init(const CString& path);
    // Commits the pending writes and closes. True when every write reported as stored since
    // the last report is in the file; false when the catalogue was closed, the last commit
    // failed (the writes are lost), or writes accepted earlier were lost: SQLite rolls a
    // transaction back by itself on a full disk, an I/O error or no memory. GetLastError
    // says why (see docs/api/catalogue.md).
    bool Cleanup();
    bool IsOpen() const;
    // Commits the pending writes; a loss it finds is kept for Commit or Cleanup to report.
    void Flush();
    // Flush with a result, the same as Cleanup's (the catalogue stays open): true when every
    // write reported as stored since the last report is in the file, also when nothing was
    // pending. A commit that fails on another program's lock keeps the writes pending; a loss
    // is reported once. Added in 1.1.
    bool Commit();
    SimpleDB* GetDB();

    bool DeleteItem(const CString& key, int cat);
    // With the configuration bit in cat, the catalogue's own "VERSION" row stays.
    bool DeleteAllItems(int cat);

    bool SetConfigItem(const CString& name, const CString& value);
    CString GetConfigItem(const CString& name);
    bool DeleteConfigItem(const CString& name);
    bool DeleteAllConfigItems();   // all but "VERSION"

    bool SetPhotoItem(const PhotoItem& item, const CString& keywords);
    bool GetPhotoItem(const CString& key, PhotoItem& item);
    bool DeletePhotoItem(const CString& key);
    bool DeleteAllPhotoItems();
    bool SetPhotoThumb(const CString& key, const void* data, unsigned int size);
    bool GetPhotoThumb(const CString& key, void* buffer, unsigned int* size);
    bool HasPhotoThumb(const CString& key);

    bool SetMusicItem(const MusicItem& item, const CString& keywords);
    bool SetMusicItem(const CString& key, const CString& group, const CString& keywords, const CString& value);
    bool GetMusicItem(const CString& key, MusicItem& item);
    bool DeleteMusicItem(const CString& key);
    bool DeleteAllMusicItems();
    bool SetMusicCover(const CString& key, const void* data, unsigned int size);
    bool GetMusicCover(const CString& key, void* buffer, unsigned int* size);
    bool HasMusicCover(const CString& key);

    bool SetVideoItem(const VideoItem& item, const CString& keywords);
    bool GetVideoItem(const CString& key, VideoItem& item);
    bool DeleteVideoItem(const CString& key);
    bool DeleteAllVideoItems();

    bool SetAppItem(const AppItem& item, const CString& keywords);
    bool SetAppItem(const CString& key, const CString& group, const CString& keywords, const CString& value);
    bool GetAppItem(const CString& key, AppItem& item);
    bool DeleteAppItem(const CString& key);
    bool DeleteAllAppItems();
    bool SetAppIcon(const CString& key, const void* data, unsigned int size);
    bool GetAppIcon(const CString& key, void* buffer, unsigned int* size);
    bool HasAppIcon(const CString& key);

    // Group lists: the group names (empty for items without a group) with their item counts.
    bool GetPhotoAlbumList(CArray<NameValue, NameValue>& list);
    bool GetMusicAlbumList(CArray<NameValue, NameValue>& list);
    bool GetAppCategoryList(CArray<NameValue, NameValue>& list);

    // Item counts, in one group or (empty group) in all.
    unsigned int CountPhotoItems(const CString& group);
    unsigned int CountMusicItems(const CString& group);
    unsigned int CountAppItems(const CString& group);
    unsigned int CountVideoItems();

    // Pages of `count` items (page numbered from 1; count 0: every item).
    bool GetAllPhotoItems(CArray<PhotoItem, PhotoItem>& items, const CString& group, int count, int page);
    bool GetAllMusicItems(CArray<MusicItem, MusicItem>& items, const CString& group, int count, int page);
    bool GetAllAppItems(CArray<AppItem, AppItem>& items, const CString& group, int count, int page);
    bool GetAllVideoItems(CArray<VideoItem, VideoItem>& items, int count, int page);

    // Items whose keywords hold every term of search (see TokenizeSeartchString).
    bool SearchPhotoItems(const CString& search, const CString& group, CArray<PhotoItem, PhotoItem>& items);
    bool SearchMusicItems(const CString& search, const CString& group, CArray<MusicItem, MusicItem>& items);
    bool SearchAppItems(const CString& search, const CString& group, CArray<AppItem, AppItem>& items);
    bool SearchVideoItems(const CString& search, CArray<VideoItem, VideoItem>& items);

    // ---- damage and recovery (added in 1.1) ----
    // Why a catalogue file cannot be used. A lock that another program holds and a medium
    // that cannot be read are never called damage.
    enum FileState {
        FILE_OK = 0,            // opened, passed the check, or recovered
        FILE_DAMAGED = 1,       // SQLite found damage (SQLITE_CORRUPT, SQLITE_NOTADB) or the check failed
        FILE_LOCKED = 2,        // another program holds the file (for RecoverFile: has it open)
        FILE_CANNOT_OPEN = 3,   // no such file or folder, no access, or an I/O error of the medium
        FILE_NO_MEMORY = 4,
        FILE_ALREADY_OPEN = 5,  // Init on an open catalogue
        FILE_NOT_DAMAGED = 6,   // RecoverFile on a file that passes the check: left alone
        FILE_RECOVERY_FAILED = 7,   // the recovery itself failed: the file is left as it was
    };
    // The reason the last Init of this object failed; FILE_OK after one that succeeded, and
    // before any. Only a failing Init reads the file again to tell why.
    int GetInitFailure() const;
    // Reads every page of the catalogue file at path (SQLite's quick_check) on a connection
    // of its own: FILE_OK, FILE_DAMAGED, or the reason the check could not finish.
    static int CheckFile(const CString& path);

    struct RecoveryReport {
        unsigned int nRecovered;     // rows in the recovered catalogue's table, "VERSION" included
        unsigned int nUnreadable;    // rows SQLite's recovery saw but that do not fit the table
        unsigned int nMilliseconds;  // time taken
        CString strDamagedFile;      // where the damaged file was kept, byte for byte
    };
    // Recovers the damaged catalogue file at path into a new file through SQLite's recovery
    // and puts that in its place, keeping the damaged file beside it as
    // "NAME.damaged-YYYYMMDD-HHMMSS" (its hot journal as that name with "-journal"). Only
    // when no process has the file open, this one included (Cleanup first): FILE_LOCKED
    // otherwise, with nothing done. FILE_OK with the report filled when the new file is in
    // place; on any other result the file is where and as it was. The figures go to the
    // process's log.
    static int RecoverFile(const CString& path, RecoveryReport& report);

    // OEM-code-page text / wide text to UTF-8; empty on failure.
    static std::string ToUTF8(const char* text);
    static std::string ToUTF8(const unsigned short* text);
    // SQLite's printf dialect (%q, %Q, %%); empty when SQLite cannot format.
    static std::string Format(char* fmt, ...);

private:
    SimpleDB* m_pDB;
    CString m_strPath;
};

// The calling process's catalogue object; never null.
CORELINK_API AppDB* GetAppDB();

// The distinct terms of search, in order of first appearance, into terms; returns them
// joined by single spaces. Punctuation of ",-_*?:;|&!~" separates like white space.
CORELINK_API CString TokenizeSeartchString(const CString& search, CArray<CString, CString>& terms);

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(AppDB, 12);
CORELINK_CHECK_SIZE(AppDB::PhotoItem, 20);
CORELINK_CHECK_OFFSET(AppDB::PhotoItem, strKey, 0);
CORELINK_CHECK_OFFSET(AppDB::PhotoItem, strGroup, 4);
CORELINK_CHECK_OFFSET(AppDB::PhotoItem, strValue, 8);
CORELINK_CHECK_OFFSET(AppDB::PhotoItem, nTime, 12);
CORELINK_CHECK_OFFSET(AppDB::PhotoItem, nBinSize, 16);
CORELINK_CHECK_SIZE(AppDB::MusicItem, 20);
CORELINK_CHECK_OFFSET(AppDB::MusicItem, strKey, 0);
CORELINK_CHECK_OFFSET(AppDB::MusicItem, strGroup, 4);
CORELINK_CHECK_OFFSET(AppDB::MusicItem, strValue, 8);
CORELINK_CHECK_OFFSET(AppDB::MusicItem, nTime, 12);
CORELINK_CHECK_OFFSET(AppDB::MusicItem, nBinSize, 16);
CORELINK_CHECK_SIZE(AppDB::AppItem, 20);
CORELINK_CHECK_OFFSET(AppDB::AppItem, strKey, 0);
CORELINK_CHECK_OFFSET(AppDB::AppItem, strGroup, 4);
CORELINK_CHECK_OFFSET(AppDB::AppItem, strValue, 8);
CORELINK_CHECK_OFFSET(AppDB::AppItem, nTime, 12);
CORELINK_CHECK_OFFSET(AppDB::AppItem, nBinSize, 16);
CORELINK_CHECK_SIZE(AppDB::VideoItem, 12);
CORELINK_CHECK_OFFSET(AppDB::VideoItem, strKey, 0);
CORELINK_CHECK_OFFSET(AppDB::VideoItem, strValue, 4);
CORELINK_CHECK_OFFSET(AppDB::VideoItem, nTime, 8);
CORELINK_CHECK_SIZE(AppDB::NameValue, 8);
CORELINK_CHECK_OFFSET(AppDB::NameValue, strName, 0);
CORELINK_CHECK_OFFSET(AppDB::NameValue, strValue, 4);
CORELINK_CHECK_SIZE(AppDB::RecoveryReport, 16);
CORELINK_CHECK_OFFSET(AppDB::RecoveryReport, nRecovered, 0);
CORELINK_CHECK_OFFSET(AppDB::RecoveryReport, nUnreadable, 4);
CORELINK_CHECK_OFFSET(AppDB::RecoveryReport, nMilliseconds, 8);
CORELINK_CHECK_OFFSET(AppDB::RecoveryReport, strDamagedFile, 12);
