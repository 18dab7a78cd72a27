// Catalogue files for the tests.
#include "catalogue_files.h"
#include <host_driver.h>
#include <test_paths.h>
#include <unique_res.h>

std::wstring NewDatabasePath(const wchar_t* name) { return NewTempFolder(L"db") + L"\\" + name; }

std::string Utf8Path(const std::wstring& path) { return ToUtf8(path); }

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    win32::unique_stream f(_wfopen(path.c_str(), L"wb"));
    return f && fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

Reader::Reader(const std::wstring& path) { sqlite3_open_v2(Utf8Path(path).c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr); }

Reader::~Reader() { sqlite3_close(db_); }

std::string Reader::Scalar(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return "<error>";
    std::string out;
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        out = t ? reinterpret_cast<const char*>(t) : "<null>";
    } else if (rc != SQLITE_DONE) {
        out = "<error>";
    }
    sqlite3_finalize(st);
    return out;
}

bool Reader::Exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }

Peer::Peer(const std::wstring& path) {
    ok_ = process_.Start(BinFolder() + L"\\sqlite_peer.exe") && process_.Call("open " + Utf8Path(path)) == "ok";
}
Peer::~Peer() { process_.Quit(); }
std::string Peer::Exec(const std::string& sql) { return process_.Call("exec " + sql); }
