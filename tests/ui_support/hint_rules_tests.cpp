// The rules of the hinted message: hint numbers by module, model and interface, the Sharp
// models' information texts and the adapter names of hint texts.
#include <gtest/gtest.h>
#include "hint_rules.h"

TEST(HintRules, HintNumberByModule) {
    const unsigned long values[7] = {10, 11, 12, 13, 14, 15, 0xFFFFFFFFul};
    struct Row { int module, hint; };
    const Row rows[] = {{0, 10}, {1, 11}, {2, 12}, {4, 13}, {16, 14}, {32, 15}, {256, -1},
                        {3, -1}, {8, -1}, {64, -1}, {128, -1}, {-1, -1}, {512, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.module);
        EXPECT_EQ(r.hint, ModuleHintNumber(values, static_cast<EPhMgrModule>(r.module)));
    }
}

TEST(HintRules, ModelOverrides) {
    struct Row { int moduleHint; const wchar_t* model; const wchar_t* iface; int hint; };
    const Row rows[] = {
        {12, L"SHARP_GX25", L"USB Cable", 28},
        {-1, L"SHARP_GX25", L"IrDA", 29},          // also for a module without a hint of its own
        {12, L"SHARP_GX25", L"Bluetooth", 30},
        {12, L"SHARP_GX25", L"Serial", -1},
        {12, L"SHARP_GX25", L"", -1},
        {12, L"sharp_gx25", L"IrDA", 12},          // model names are exact
        {12, L"SHARP_GX25", L"irda", -1},          // and so are interface names
        {12, L"SHARP_GX25\u00AD", L"IrDA", 12},    // a soft hyphen is a character of the name
        {12, L"SHARP_GX25", L"IrDA\u00AD", -1},
        {12, L"SHARP_GX25", L"USB\u00ADCable", -1},
        {12, L"SHARP_GX25", L"USB Cable\u200B", -1},
        {12, L"SHARP_902SH", L"IrDA", 12},
        {-1, L"VX-Phone", L"USB Cable", -1},
        {7, nullptr, nullptr, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.model ? r.model : L"(null)") << " on " << (r.iface ? r.iface : L"(null)"));
        EXPECT_EQ(r.hint, HintNumberFor(r.moduleHint, r.model, r.iface));
    }
    EXPECT_TRUE(HasSharpInformation(L"SHARP_902SH"));
    EXPECT_TRUE(HasSharpInformation(L"SHARP_GX40"));
    EXPECT_FALSE(HasSharpInformation(L"SHARP_GX25"));
    EXPECT_FALSE(HasSharpInformation(L"sharp_gx40"));
    EXPECT_FALSE(HasSharpInformation(L"SHARP_GX40\u00AD"));
    EXPECT_FALSE(HasSharpInformation(L"SHARP\u00AD_902SH"));
    EXPECT_FALSE(HasSharpInformation(nullptr));
}

TEST(HintRules, SharpInformationTexts) {
    struct Row { const wchar_t* iface; const wchar_t* text; };
    const Row rows[] = {
        {L"USB Cable", L"Connect the USB cable."},
        {L"IrDA", L"Use the cable on the port (infrared); then start the driver and the panel."},
        {L"Bluetooth", L"Use the cable on the port (radio); then start the driver and the panel.\r\nPair the handset first."},
        {L"Serial", L""},   // no information box rather than an empty one
        {L"usb cable", L""},
        {L"IrDA\u00AD", L""},
        {nullptr, L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.iface ? r.iface : L"(null)");
        EXPECT_STREQ(r.text, SharpInformationText(r.iface).GetString());
    }
}

// The template of a language file filled with the five texts. An insert above %5 is a fault of
// the file: it comes out empty, and nothing is read past the five texts. An insert's format
// may be a plain conversion (s, d, u, x, c with flags, width and precision); anything else,
// a width taken from an argument above all, refuses the template.
TEST(HintRules, TemplateInserts) {
    const CString inserts[5] = {L"cable", L"port", L"infrared", L"driver", L"panel"};
    struct Row { const wchar_t* pattern; const wchar_t* out; };
    const Row rows[] = {
        {L"Use the %1 on the %2 (%3); then start the %4 and the %5.",
         L"Use the cable on the port (infrared); then start the driver and the panel."},
        {L"%5, %4, %3, %2, %1", L"panel, driver, infrared, port, cable"},
        {L"%1!s! and %2", L"cable and port"},
        {L"100%% %1%n%2", L"100% cable\r\nport"},
        {L"[%6]", L"[]"},
        {L"[%1|%7|%5]", L"[cable||panel]"},
        {L"[%9][%10][%42]", L"[][][]"},
        {L"[%99!s!]", L"[]"},
        {L"[%99]%5", L"[]panel"},
        {L"[%1!*s!]", L""},          // a width taken from an argument would be a text's address
        {L"[%6!*.*s!]", L""},
        {L"[%4!.*s!] %5", L""},
        {L"[%1!-8s!]", L"[cable   ]"},
        {L"[%1!-+8s!]", L"[cable   ]"},   // more than one flag
        {L"[%1!.3s!|%2!6s!|%3!-3.2s!]", L"[cab|  port|in ]"},
        // An insert right after a plain insert or an escape is read as well.
        {L"[%1%2!*s!]", L""},
        {L"[%1%2!.*s!]", L""},
        {L"[%1%2!o!]", L""},
        {L"[%%%1!*s!]", L""},
        // Only the conversions of texts and plain numbers; a format closed as it should be.
        {L"[%1!n!]", L""},
        {L"[%1!p!]", L""},
        {L"[%1!I64d!]", L""},
        {L"[%1!ls!]", L""},
        {L"[%1!s]", L""},
        {L"[%1!!]", L""},
        {L"[%1!sd!]", L""},          // a conversion, then no closing "!"
        {L"[%1!s%2!]", L""},
        {L"", L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.pattern);
        EXPECT_STREQ(r.out, FillInserts(r.pattern, inserts).GetString());
    }
    // The number conversions are taken too (what they print of a text is its address).
    for (const wchar_t* pattern : {L"[%1!d!]", L"[%2!u!]", L"[%3!08x!]", L"[%4!c!]"}) {
        SCOPED_TRACE(testing::Message() << pattern);
        const CString out = FillInserts(pattern, inserts);
        EXPECT_EQ(L'[', out.IsEmpty() ? 0 : out[0]);
        EXPECT_EQ(L']', out.IsEmpty() ? 0 : out[out.GetLength() - 1]);
    }
}

TEST(HintRules, AdapterNames) {
    struct Row { const wchar_t* in; int usb, bt; const wchar_t* out; };
    const Row rows[] = {
        {L"Plug in the adapter (VX-200) now.", 220, 0, L"Plug in the adapter (VX-Bluetooth) now."},
        {L"(VX-200) and (VX-200)", 220, 230, L"(VX-Bluetooth) and (VX-Bluetooth)"},
        {L"Adapter VX-200 ready", 220, 0, L"Adapter VX-200 ready"},       // without parenthesis: unchanged
        {L"Adapter VX-200 ready", 0, 230, L"Adapter VX-Bluetooth ready"},
        {L"Adapter (VX-200) ready", 0, 230, L"Adapter (VX-Bluetooth) ready"},
        {L"Adapter VX-200 ready", 221, 231, L"Adapter VX-200 ready"},
        {L"", 220, 230, L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.in << " usb " << r.usb << " bt " << r.bt);
        EXPECT_STREQ(r.out, ApplyAdapterName(r.in, r.usb, r.bt).GetString());
    }
}
