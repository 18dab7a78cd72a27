// CxLogMsg: UTF-8 text appended to one file, one write per LogMsg call.
#include "CxLogMsg.h"
#include <afxstr.h>
#include <unique_res.h>
#include <mutex>
#include <new>
#include <string>
#include <wchar.h>

struct CxLogMsg::Impl {
    std::mutex lock;
    win32::unique_file file;
    CString path;
    unsigned long level = 0;
    long long written = 0;
    long long maxSize = -1;
};

CxLogMsg::CxLogMsg(unsigned long level, const unsigned short* path, int bAppend,
                   unsigned long /*options*/, int maxSize, unsigned long /*categories*/)
    : m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->level = level;
    m_pImpl->maxSize = maxSize;
    m_pImpl->path = path;
    if (m_pImpl->path.IsEmpty()) return;
    m_pImpl->file.reset(CreateFileW(m_pImpl->path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, bAppend ? OPEN_ALWAYS : CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

CxLogMsg::~CxLogMsg() = default;

void* CxLogMsg::operator new(size_t size) { return ::operator new(size); }
void CxLogMsg::operator delete(void* p) { ::operator delete(p); }

bool CxLogMsg::IsOpen() const { return static_cast<bool>(m_pImpl->file); }
const wchar_t* CxLogMsg::GetPath() const { return m_pImpl->path; }

void CxLogMsg::LogMsg(const wchar_t* fmt, ...) {
    if (!m_pImpl->file || !fmt || m_pImpl->level < 1) return;
    CString line;
    va_list args;
    va_start(args, fmt);
    line.FormatV(fmt, args);
    va_end(args);
    int n = WideCharToMultiByte(CP_UTF8, 0, line, line.GetLength(), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return;
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, line.GetLength(), &bytes[0], n, nullptr, nullptr);

    std::lock_guard<std::mutex> guard(m_pImpl->lock);
    if (m_pImpl->maxSize >= 0 && m_pImpl->written + n > m_pImpl->maxSize) return;
    DWORD done = 0;
    if (WriteFile(m_pImpl->file.get(), bytes.data(), static_cast<DWORD>(n), &done, nullptr))
        m_pImpl->written += done;
}
