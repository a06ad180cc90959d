#include "decimal.h"

namespace fw {

std::wstring Decimal(long long value) {
    wchar_t digits[24];
    wchar_t* p = digits + 24;
    // Negative numbers count down, so that the smallest one needs no negation.
    const bool negative = value < 0;
    do {
        const int digit = static_cast<int>(value % 10);
        *--p = static_cast<wchar_t>(L'0' + (negative ? -digit : digit));
        value /= 10;
    } while (value != 0);
    if (negative) *--p = L'-';
    return std::wstring(p, digits + 24);
}

bool ReadDecimal(const wchar_t*& text, long long& value) {
    const wchar_t* p = text;
    while (*p == L' ') ++p;
    const bool negative = *p == L'-';
    if (negative) ++p;
    if (*p < L'0' || *p > L'9') return false;
    constexpr long long kLimit = 0x7FFFFFFFFFFFFFFFLL / 10;
    long long magnitude = 0;  // negative, so that the smallest number fits
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        const int digit = *p - L'0';
        if (magnitude < -kLimit || (magnitude == -kLimit && digit > 8)) return false;
        magnitude = magnitude * 10 - digit;
    }
    if (!negative && magnitude == -0x7FFFFFFFFFFFFFFFLL - 1) return false;
    value = negative ? magnitude : -magnitude;
    while (*p == L' ') ++p;
    text = p;
    return true;
}

int DecimalIndex(const std::wstring& text, int last) {
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == L'0')) return -1;
    int index = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return -1;
        index = index * 10 + (c - L'0');
    }
    return index <= last ? index : -1;
}

}  // namespace fw
