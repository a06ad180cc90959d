#include "profile.h"

#include "handles.h"

namespace fw {

namespace {
// Deletes the key `path` under `parent` with every key under it: RegDeleteKey takes only
// a key without keys of its own, and RegDeleteTree came with Vista.
void DeleteTree(HKEY parent, const wchar_t* path) {
    RegKey key;
    if (key.Open(parent, path, KEY_READ)) {
        // Each pass deletes the first key left; a key that will not go ends the loop.
        wchar_t name[256];
        for (std::wstring last;;) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
                last == std::wstring(name, length))
                break;
            last.assign(name, length);
            DeleteTree(key.get(), last.c_str());
        }
    }
    RegDeleteKeyW(parent, path);
}
}  // namespace

ProfileSection::ProfileSection(const Profile& profile, const wchar_t* section, Access access) {
    const std::wstring path = profile.root() + L"\\" + section;
    if (access == Access::Write)
        key_.Create(HKEY_CURRENT_USER, path.c_str());
    else if (access == Access::WriteVolatile) {
        // The program's own key must outlast the session: a volatile key made where its
        // parents are missing makes them volatile too, and nothing lasting could then be
        // written under them (the settings at exit).
        RegKey root;
        root.Create(HKEY_CURRENT_USER, profile.root().c_str());
        key_.Create(HKEY_CURRENT_USER, path.c_str(), REG_OPTION_VOLATILE);
    }
    else
        key_.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ);
}

int ProfileSection::GetInt(const wchar_t* entry, int defaultValue) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key_ ||
        RegQueryValueExW(key_.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::wstring ProfileSection::GetString(const wchar_t* entry, const wchar_t* defaultValue) const {
    DWORD type = 0, size = 0;
    if (!key_ || RegQueryValueExW(key_.get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) !=
        ERROR_SUCCESS)
        return defaultValue;
    // The stored data need not end in a zero: cut at the first one, if any.
    text.resize(got / sizeof(wchar_t));
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos) text.resize(zero);
    return text;
}

bool ProfileSection::WriteInt(const wchar_t* entry, int value) const {
    const DWORD data = static_cast<DWORD>(value);
    return key_ && RegSetValueExW(key_.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                  sizeof data) == ERROR_SUCCESS;
}

bool ProfileSection::WriteString(const wchar_t* entry, const std::wstring& value) const {
    return key_ && RegSetValueExW(key_.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::vector<std::wstring> ProfileSection::ValueNames() const {
    std::vector<std::wstring> names;
    if (!key_) return names;
    // Value names are at most 16,383 characters long.
    std::wstring name(16384, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = RegEnumValueW(key_.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

DWORD ProfileSection::ValueType(const wchar_t* entry) const {
    DWORD type = 0;
    if (!key_ || RegQueryValueExW(key_.get(), entry, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return kMissing;
    return type;
}

std::vector<std::wstring> ProfileSection::SectionNames() const {
    std::vector<std::wstring> names;
    if (!key_) return names;
    // Key names are at most 255 characters long.
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key_.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

void Profile::Open(const wchar_t* company, const wchar_t* appName) {
    root_ = std::wstring(L"Software\\") + company + L"\\" + appName;
}

int Profile::GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const {
    return ProfileSection(*this, section, ProfileSection::Access::Read).GetInt(entry, defaultValue);
}

std::wstring Profile::GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const {
    return ProfileSection(*this, section, ProfileSection::Access::Read).GetString(entry, defaultValue);
}

bool Profile::WriteInt(const wchar_t* section, const wchar_t* entry, int value) const {
    return ProfileSection(*this, section, ProfileSection::Access::Write).WriteInt(entry, value);
}

bool Profile::WriteString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const {
    return ProfileSection(*this, section, ProfileSection::Access::Write).WriteString(entry, value);
}

bool Profile::SectionExists(const wchar_t* section) const {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str(), KEY_READ);
}

void Profile::DeleteSection(const wchar_t* section) const {
    // A section the program wrote holds values only; one given otherwise goes all the same.
    DeleteTree(HKEY_CURRENT_USER, (root_ + L"\\" + section).c_str());
}

}  // namespace fw
