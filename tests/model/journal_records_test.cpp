// The crash journal's records as text: what a record writes reads back as the same
// record, handles by their 32 significant bits; a line that does not read whole is no
// record at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "journal_records.h"

namespace {

using app::journal::Entry;

HWND Handle(intptr_t value) { return reinterpret_cast<HWND>(value); }

TEST(JournalRecords, ARecordReadsBackAsWrittenWithItsHandleByItsLow32Bits) {
    const Entry shaded{Handle(0x12345), 4242, 240, L"Afx Frame 1"};
    EXPECT_EQ(app::journal::Format(shaded, true), L"74565 4242 240 Afx Frame 1");
    const Entry clock{Handle(-0x7FFFEDCC), 0xFFFFFFFF, 0, L"Notepad"};  // a handle with its top bit set
    EXPECT_EQ(app::journal::Format(clock, false), L"-2147478988 4294967295 Notepad");
    const Entry band{Handle(0x10), 1, INT_MIN, L"ReBarWindow32"};
    const std::pair<Entry, bool> records[] = {{shaded, true}, {clock, false}, {band, true}};
    for (const auto& [entry, withNumber] : records) {
        const std::wstring text = app::journal::Format(entry, withNumber);
        SCOPED_TRACE(testing::PrintToString(text));
        const std::optional<Entry> read = app::journal::Parse(text, withNumber);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->window, entry.window);
        EXPECT_EQ(read->process, entry.process);
        EXPECT_EQ(read->number, entry.number);
        EXPECT_EQ(read->className, entry.className);
    }
    // A handle word is sign-extended as the system extends handles, beyond 32 bits dropped.
    EXPECT_EQ(app::journal::HandleOf(app::journal::HandleWord(Handle(-0x7FFFEDCC))), Handle(-0x7FFFEDCC));
    EXPECT_EQ(app::journal::HandleOf(0x180001234LL), Handle(-0x7FFFEDCC));
}

TEST(JournalRecords, ALineWhoseNumbersDoNotReadWholeIsNoRecord) {
    const wchar_t* const withNumber[] = {
        L"",
        L"123",
        L"123 456",
        L"123 456 Notepad",
        L"- 456 240 Notepad",
        L"123 -1 240 Notepad",
        L"123 4294967296 240 Notepad",
        L"123 456 2147483648 Notepad",
        L"123 456 -2147483649 Notepad",
        L"123 456 99999999999999999999 Notepad",
        L"99999999999999999999 456 240 Notepad",
        L"x123 456 240 Notepad",
    };
    for (const wchar_t* text : withNumber)
        EXPECT_FALSE(app::journal::Parse(text, true)) << testing::PrintToString(std::wstring(text));
    EXPECT_FALSE(app::journal::Parse(L"123 Notepad", false));
    // Without a number the third field is the class's.
    EXPECT_EQ(app::journal::Parse(L"123 456 240 Notepad", false).value_or(Entry{}).className, L"240 Notepad");
}

TEST(JournalRecords, CountsAreBoundedAndAClockFollowsTheOwnTitle) {
    EXPECT_EQ(app::journal::ReadableCount(-1), 0);
    EXPECT_EQ(app::journal::ReadableCount(3), 3);
    EXPECT_EQ(app::journal::ReadableCount(app::journal::kMaxEntries), app::journal::kMaxEntries);
    EXPECT_EQ(app::journal::ReadableCount(INT_MAX), app::journal::kMaxEntries);
    EXPECT_EQ(app::journal::ValueName(L"Clock", 12, L"Title"), L"Clock12Title");
    EXPECT_EQ(app::journal::ValueName(L"Shaded", 0), L"Shaded0");

    EXPECT_TRUE(app::journal::ShowsClock(L"Notes 26/12/09 10:00", L"Notes"));
    EXPECT_FALSE(app::journal::ShowsClock(L"Notes", L"Notes"));  // its own title again
    EXPECT_FALSE(app::journal::ShowsClock(L"Note", L"Notes"));
    EXPECT_FALSE(app::journal::ShowsClock(L"Other 10:00", L"Notes"));
    EXPECT_FALSE(app::journal::ShowsClock(L"", L""));
}

}  // namespace
