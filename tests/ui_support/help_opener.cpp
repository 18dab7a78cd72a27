// Opens the help of the folder it runs from, with the user interface language of its first
// argument (none: the language is never set).
#include <Corelink.h>
#include <VXLibConfig.h>

int wmain(int argc, wchar_t** argv) {
    if (argc > 1) VXLibConfig::SetLanguage(argv[1]);
    OpenHelpFile();
    return 0;
}
