// The blanks that end a header line's address: each blank of the set, and values that are
// blanks only, which give no address at all (a redirect to " " would be followed otherwise).
#include <gtest/gtest.h>
#include "download_names.h"

TEST(DownloadNames, HeaderValuesLoseEveryKindOfBlankAtTheirEnd) {
    struct Case {
        const wchar_t* header;
        const wchar_t* location;
        const wchar_t* productUrl;
    };
    const Case kCases[] = {
        {L"Location: http://h/a \r\nProduct-url: http://h/i \r\n", L"http://h/a", L" http://h/i"},
        {L"Location: http://h/a\t\r\nProduct-url: http://h/i\t\r\n", L"http://h/a", L" http://h/i"},
        {L"Location: http://h/a\v\r\nProduct-url: http://h/i\v\r\n", L"http://h/a", L" http://h/i"},
        {L"Location: http://h/a\f\r\nProduct-url: http://h/i\f\r\n", L"http://h/a", L" http://h/i"},
        {L"Location: http://h/a\r\r\nProduct-url: http://h/i\r\r\n", L"http://h/a", L" http://h/i"},
        {L"Location: http://h/a \t\v\f\r\r\nProduct-url: http://h/i\r \t\r\n", L"http://h/a", L" http://h/i"},
        // Blanks only: no value.
        {L"Location:  \r\nProduct-url: \r\n", L"", L""},
        {L"Location:   \t\r\nProduct-url: \t \r\n", L"", L""},
        {L"Location: \r\r\nProduct-url:\r\r\n", L"", L""},
        {L"Location: \v\f\r\nProduct-url:\f\r\n", L"", L""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.header)));
        const auto info = download::ScanRedirect(download::SplitLines(c.header), L"");
        EXPECT_EQ(c.location, info.location);
        EXPECT_EQ(c.productUrl, info.productUrl);
    }
}
