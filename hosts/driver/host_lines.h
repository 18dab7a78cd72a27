// One command line in, one reply line out, over the standard handles (for hosts that a
// driver or a script talks to).
#pragma once
#include <windows.h>
#include <string>

inline void HostReply(const std::string& line) {
    std::string out = line + "\n";
    DWORD done = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &done, nullptr);
}

// The next line without its line break; false at the end of input.
inline bool HostReadLine(std::string& line) {
    line.clear();
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        char c;
        DWORD got = 0;
        if (!ReadFile(in, &c, 1, &got, nullptr) || got == 0) return !line.empty();
        if (c == '\n') return true;
        if (c != '\r') line += c;
    }
}

// The command loop of a host: says "ready", then answers each line "VERB ARG" with
// run(verb, arg) until "quit" or the end of input. Returns the host's exit code.
inline int HostServe(std::string (*run)(const std::string& verb, const std::string& arg)) {
    HostReply("ready");
    std::string line;
    while (HostReadLine(line)) {
        std::string verb = line.substr(0, line.find(' '));
        std::string arg = line.size() > verb.size() ? line.substr(verb.size() + 1) : std::string();
        if (verb == "quit") {
            HostReply("ok");
            return 0;
        }
        HostReply(run(verb, arg));
    }
    return 0;
}
