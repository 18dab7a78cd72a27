// VXLibConfig: process-wide settings, guarded by one lock.
#include "VXLibConfig.h"
#include <afxstr.h>
#include <mutex>

namespace {
struct Config {
    std::mutex lock;
    CString language;
    int charset = 0;
};
Config& config() {
    static Config c;
    return c;
}
} // namespace

void VXLibConfig::SetLanguage(const wchar_t* language) {
    std::lock_guard<std::mutex> guard(config().lock);
    config().language = language;
}

// The text stays valid until the next SetLanguage.
const wchar_t* VXLibConfig::GetUILanguage() {
    std::lock_guard<std::mutex> guard(config().lock);
    return config().language;
}

void VXLibConfig::SetCharset(int charset) { config().charset = charset; }
int VXLibConfig::GetCharset() { return config().charset; }
