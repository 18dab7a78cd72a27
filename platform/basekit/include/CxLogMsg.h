// CxLogMsg: a diagnostic log file. Lines are appended as UTF-8, each write flushed.
#pragma once
#include <windows.h>
#include <memory>
#include "basekit_api.h"

class BASEKIT_API CxLogMsg {
public:
    // level: lines of a level above it are dropped (1 keeps every line written by LogMsg)
    // path: the log file; bAppend: 1 keeps an existing file's content, 0 truncates it
    // options: reserved flags, kept as given; maxSize: bytes after which writing stops (-1: none)
    // categories: category mask, kept as given
    CxLogMsg(unsigned long level, const unsigned short* path, int bAppend,
             unsigned long options, int maxSize, unsigned long categories);
    virtual ~CxLogMsg();
    CxLogMsg(const CxLogMsg&) = delete;
    CxLogMsg& operator=(const CxLogMsg&) = delete;

    // printf-style, Windows conventions (%s: wide text). Writes exactly the formatted text.
    virtual void LogMsg(const wchar_t* fmt, ...);

    bool IsOpen() const;
    const wchar_t* GetPath() const;

    static void* operator new(size_t size);
    static void operator delete(void* p);

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
