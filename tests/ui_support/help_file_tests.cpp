// OpenHelpFile through the shell: a file type of the private prefix hands the opened path to
// open_recorder.exe, so each case shows which help file the shell was asked to open.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include <unique_res.h>
#include "box_watch.h"
#include "installation.h"
#include "test_paths.h"

namespace {

const wchar_t kProgId[] = L"CorelinkTest.HelpFile";

// The file names of the processes in job.
std::vector<std::wstring> JobProcessNames(HANDLE job) {
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } ids{};
    std::vector<std::wstring> names;
    if (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr)) return names;
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
        win32::unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(ids.list.ProcessIdList[i])));
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (process && QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
            std::wstring full(path, size);
            names.push_back(full.substr(full.find_last_of(L'\\') + 1));
        }
    }
    return names;
}

std::wstring ReadDefault(const wchar_t* key) {
    wchar_t buf[512];
    DWORD size = sizeof(buf);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return L"";
    return buf;
}

void WriteDefault(const wchar_t* key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
}

// .chm and .htm open with open_recorder.exe while the fixture lives; the old types come back after.
class HelpFile : public testing::Test {
protected:
    void SetUp() override {
        oldChm_ = ReadDefault(L".chm");
        oldHtm_ = ReadDefault(L".htm");
        std::wstring command = L"\"" + BinFolder() + L"\\open_recorder.exe\" \"%1\"";
        WriteDefault((std::wstring(kProgId) + L"\\shell\\open\\command").c_str(), command);
        WriteDefault(L".chm", kProgId);
        WriteDefault(L".htm", kProgId);
    }
    void TearDown() override {
        WriteDefault(L".chm", oldChm_);
        WriteDefault(L".htm", oldHtm_);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    }

    struct Opened {
        std::wstring asked;    // "open PATH" lines: what the library handed to the shell
        std::wstring opened;   // PATH lines: what the shell opened
    };

    // Runs help_opener.exe from inst with language (null: never set) and waits until it and
    // whatever it started have ended.
    Opened OpenHelp(const Installation& inst, const wchar_t* language) {
        std::wstring record = inst.Path(L"opened.txt"), asked = inst.Path(L"asked.txt");
        SetEnvironmentVariableW(L"CORELINK_OPEN_RECORD", record.c_str());
        SetEnvironmentVariableW(L"CORELINK_SHELL_RECORD", asked.c_str());
        std::wstring cmd = L"\"" + inst.Path(L"help_opener.exe") + L"\"";
        if (language) cmd += L" \"" + std::wstring(language) + L"\"";
        win32::unique_handle job(CreateJobObjectW(nullptr, nullptr));
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                   inst.Folder().c_str(), &si, &pi));
        win32::unique_handle process(pi.hProcess), thread(pi.hThread);
        EXPECT_TRUE(AssignProcessToJobObject(job.get(), process.get()));
        ResumeThread(thread.get());
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 20000));
        DWORD code = 1;
        GetExitCodeProcess(process.get(), &code);
        EXPECT_EQ(0u, code) << "help_opener could not watch the library's calls of the shell";
        // The recorder, when the shell started one, is in the job (other helpers of the
        // platform that land there, such as a console host, may outlive it).
        EXPECT_TRUE(WaitUntil([&] {
            for (const std::wstring& name : JobProcessNames(job.get()))
                if (!lstrcmpiW(name.c_str(), L"open_recorder.exe")) return false;
            return true;
        }, 20000)) << "still running: " << testing::PrintToString(JobProcessNames(job.get()));
        SetEnvironmentVariableW(L"CORELINK_OPEN_RECORD", nullptr);
        SetEnvironmentVariableW(L"CORELINK_SHELL_RECORD", nullptr);
        return {ReadUtf8(asked), ReadUtf8(record)};
    }

    static std::wstring ReadUtf8(const std::wstring& file) {
        std::string bytes = ReadFileBytes(file);
        std::wstring out(bytes.size(), L'\0');
        out.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), &out[0], int(out.size())));
        return out;
    }

private:
    std::wstring oldChm_, oldHtm_;
};

struct HelpCase {
    const wchar_t* language;         // null: never set
    const wchar_t* files[4];         // help files beside the executable
    const wchar_t* chosen;           // the file the shell is asked to open
    bool opens;                      // the shell opens it (it exists)
};
const HelpCase kCases[] = {
    {L"Deutsch", {L"DeutschHelp.chm", L"DeutschHelp.htm", L"Help.chm", L"Help.htm"}, L"DeutschHelp.chm", true},
    {L"Deutsch", {L"DeutschHelp.htm", L"Help.chm"}, L"DeutschHelp.htm", true},
    {L"Deutsch", {L"FrenchHelp.chm", L"Help.htm"}, L"Help.htm", true},
    {L"English", {L"Help.chm", L"Help.htm"}, L"Help.chm", true},
    {L"English", {L"Help.htm"}, L"Help.htm", true},
    {L"English", {}, L"Help.htm", false},   // Help.htm is taken unchecked; the shell finds nothing to open
    {nullptr, {L"DeutschHelp.chm", L"Help.chm"}, L"Help.chm", true},
    {L"Spanish", {L"SpanishHelp.htm", L"Help.chm", L"SpanishHelp.chm.bak"}, L"SpanishHelp.htm", true},
};

} // namespace

TEST_F(HelpFile, OpensTheFirstCandidateThatExists) {
    for (const HelpCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << (c.language ? c.language : L"(no language)") << " -> " << c.chosen
                                        << (c.opens ? "" : " (missing)"));
        Installation inst;
        ASSERT_TRUE(inst.Ok());
        ASSERT_TRUE(CopyFileW((BinFolder() + L"\\help_opener.exe").c_str(), inst.Path(L"help_opener.exe").c_str(), FALSE));
        for (const wchar_t* f : c.files) {
            if (!f) break;
            win32::unique_file file(CreateFileW(inst.Path(f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
            ASSERT_TRUE(file);
        }
        Opened result = OpenHelp(inst, c.language);
        EXPECT_EQ(L"open " + inst.Path(c.chosen) + L"\n", result.asked);
        EXPECT_EQ(c.opens ? inst.Path(c.chosen) + L"\n" : std::wstring(), result.opened);
    }
}
