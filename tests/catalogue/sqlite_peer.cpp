// A second process on a catalogue file, for the tests: a plain SQLite connection driven
// one line at a time over standard input and output (the host driver's protocol).
//   open PATH   opens the file (UTF-8 path)        -> ok | error CODE
//   exec SQL    runs SQL on it, e.g. BEGIN EXCLUSIVE -> ok | error CODE
//   quit        closes it and ends
#include <stdio.h>
#include <string.h>
#include <string>
#include <sqlite3.h>

int wmain() {
    printf("ready\n");
    fflush(stdout);
    sqlite3* db = nullptr;
    char line[4096];
    while (fgets(line, sizeof(line), stdin)) {
        std::string cmd(line);
        while (!cmd.empty() && (cmd.back() == '\n' || cmd.back() == '\r')) cmd.pop_back();
        int rc = SQLITE_MISUSE;
        if (cmd.compare(0, 5, "open ") == 0) {
            rc = sqlite3_open_v2(cmd.c_str() + 5, &db, SQLITE_OPEN_READWRITE, nullptr);
        } else if (cmd.compare(0, 5, "exec ") == 0) {
            rc = sqlite3_exec(db, cmd.c_str() + 5, nullptr, nullptr, nullptr);
        } else if (cmd == "quit") {
            printf("ok\n");
            fflush(stdout);
            break;
        }
        if (rc == SQLITE_OK) printf("ok\n");
        else printf("error %d\n", rc);
        fflush(stdout);
    }
    sqlite3_close(db);
    return 0;
}
