// Catalogue files for the tests, and a second connection to read them as another
// process's reader would.
#pragma once
#include <string>
#include <sqlite3.h>
#include <host_driver.h>

// A fresh path (UTF-16) for a database file in a new temporary folder.
std::wstring NewDatabasePath(const wchar_t* name = L"catalogue.db");
std::string Utf8Path(const std::wstring& path);
// Replaces the whole content of a file; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A connection of the test's own; closed at the end of its scope.
class Reader {
public:
    explicit Reader(const std::wstring& path);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    // The first column of the first row of sql as text ("<error>" when it fails,
    // "<null>" for NULL, "" when no row).
    std::string Scalar(const std::string& sql);
    bool Exec(const std::string& sql);
    sqlite3* db() { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A second process with a plain SQLite connection to path (sqlite_peer.exe), to hold SQLite's
// locks on the file as another program would.
class Peer {
public:
    explicit Peer(const std::wstring& path);
    ~Peer();
    bool Ok() const { return ok_; }
    std::string Exec(const std::string& sql);   // "ok" or "error CODE"
    void Kill() { process_.Kill(); }            // ends it at once, its transaction unfinished

private:
    HostProcess process_;
    bool ok_ = false;
};
