// Per-user settings in the registry: HKEY_CURRENT_USER\Software\<company>\<app>\<section>.
// Integers are REG_DWORD, strings REG_SZ. A missing or unreadable value gives the
// default; failed writes are ignored.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "handles.h"

namespace fw {

class Profile;

// One section opened once for many values: what a whole settings record reads or
// writes at once. Opened for reading only, it makes no key; a section that is not
// there reads as all defaults and takes no writes.
class ProfileSection {
public:
    // WriteVolatile: a section made now lasts only as long as the log-on session (one
    // that is there already keeps what it is).
    enum class Access { Read, Write, WriteVolatile };
    ProfileSection(const Profile& profile, const wchar_t* section, Access access);

    int GetInt(const wchar_t* entry, int defaultValue) const;
    std::wstring GetString(const wchar_t* entry, const wchar_t* defaultValue) const;
    bool WriteInt(const wchar_t* entry, int value) const;
    bool WriteString(const wchar_t* entry, const std::wstring& value) const;
    // The type of a value (REG_DWORD, REG_SZ, ...), or kMissing when there is none.
    static constexpr DWORD kMissing = ~0u;
    DWORD ValueType(const wchar_t* entry) const;
    // The names of the section's values, in the registry's order.
    std::vector<std::wstring> ValueNames() const;
    // The names of the sections inside this one, in the registry's order.
    std::vector<std::wstring> SectionNames() const;

private:
    RegKey key_;
};

class Profile {
public:
    Profile() = default;
    void Open(const wchar_t* company, const wchar_t* appName);
    bool IsOpen() const { return !root_.empty(); }
    const std::wstring& root() const { return root_; }

    int GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    std::wstring GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const;
    bool WriteInt(const wchar_t* section, const wchar_t* entry, int value) const;
    bool WriteString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const;
    bool SectionExists(const wchar_t* section) const;
    // Removes a section with all its values, and any key under it.
    void DeleteSection(const wchar_t* section) const;

private:
    std::wstring root_;  // Software\<company>\<app>
};

}  // namespace fw
