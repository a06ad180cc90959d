#include "profile.h"

#include "handles.h"

namespace fw {

void Profile::Open(const wchar_t* company, const wchar_t* appName) {
    root_ = std::wstring(L"Software\\") + company + L"\\" + appName;
}

int Profile::GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const {
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str(), KEY_READ)) return defaultValue;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::wstring Profile::GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const {
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str(), KEY_READ)) return defaultValue;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) !=
        ERROR_SUCCESS)
        return defaultValue;
    // The stored data need not end in a zero: cut at the first one, if any.
    text.resize(got / sizeof(wchar_t));
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos) text.resize(zero);
    return text;
}

bool Profile::WriteInt(const wchar_t* section, const wchar_t* entry, int value) const {
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str())) return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
           ERROR_SUCCESS;
}

bool Profile::WriteString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const {
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str())) return false;
    return RegSetValueExW(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Profile::SectionExists(const wchar_t* section) const {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str(), KEY_READ);
}

void Profile::DeleteSection(const wchar_t* section) const {
    // A section holds values only: the key goes with them.
    RegDeleteKeyW(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str());
}

}  // namespace fw
