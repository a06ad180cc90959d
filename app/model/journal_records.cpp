#include "journal_records.h"

#include <climits>
#include <cstdint>

#include "decimal.h"

namespace app::journal {

std::wstring Format(const Entry& entry, bool withNumber) {
    std::wstring text = fw::Decimal(HandleWord(entry.window)) + L' ' + fw::Decimal(entry.process) + L' ';
    if (withNumber) text += fw::Decimal(entry.number) + L' ';
    return text + entry.className;
}

std::optional<Entry> Parse(const std::wstring& text, bool withNumber) {
    long long word = 0, pid = 0, number = 0;
    const wchar_t* p = text.c_str();
    if (!fw::ReadDecimal(p, word) || !fw::ReadDecimal(p, pid) || (withNumber && !fw::ReadDecimal(p, number)) ||
        pid < 0 || pid > 0xFFFFFFFFLL || number < INT_MIN || number > INT_MAX)
        return std::nullopt;
    return Entry{HandleOf(word), static_cast<DWORD>(pid), static_cast<int>(number), p};
}

long long HandleWord(HWND window) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)); }

HWND HandleOf(long long word) {
    return static_cast<HWND>(reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(word))));
}

std::wstring ValueName(const wchar_t* stem, int index, const wchar_t* tail) { return stem + fw::Decimal(index) + tail; }

int ReadableCount(int stored) { return stored < 0 ? 0 : stored > kMaxEntries ? kMaxEntries : stored; }

bool ShowsClock(const std::wstring& title, const std::wstring& ownTitle) {
    return title.size() > ownTitle.size() && title.compare(0, ownTitle.size(), ownTitle) == 0;
}

}  // namespace app::journal
