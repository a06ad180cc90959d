#include "elevation.h"

#include <windows.h>
#include <aclapi.h>

#include "handles.h"

namespace fw {
namespace {

// Token information classes of Windows Vista and later, by number (XP's headers lack them).
constexpr auto kTokenElevation = static_cast<TOKEN_INFORMATION_CLASS>(20);
constexpr auto kTokenLinkedToken = static_cast<TOKEN_INFORMATION_CLASS>(19);

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The rights that `token` gets to the file or folder at `path` (0 if unknown).
DWORD Granted(HANDLE token, const std::wstring& path) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return 0;
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    PRIVILEGE_SET privileges = {};
    DWORD privilegesSize = sizeof privileges, granted = 0;
    BOOL status = FALSE;
    if (!AccessCheck(sd, token, MAXIMUM_ALLOWED, &mapping, &privileges, &privilegesSize, &granted, &status) ||
        !status)
        granted = 0;
    LocalFree(sd);
    return granted;
}

// The folder of `file`, without a trailing backslash.
std::wstring FolderOf(const std::wstring& file) {
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : file.substr(0, slash);
}

}  // namespace

bool RunsElevated() {
    if (UnderWine()) return false;
    KernelHandle token;
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    token.reset(raw);
    DWORD elevated = 0, size = 0;
    // Fails before Windows Vista, which knows no elevation.
    return GetTokenInformation(token.get(), kTokenElevation, &elevated, sizeof elevated, &size) && elevated != 0;
}

bool ChangeableWithoutElevation(const std::wstring& file) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    const KernelHandle token(raw);
    // The same user's token without elevation (an identification token: enough to ask).
    HANDLE linked = nullptr;
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), kTokenLinkedToken, &linked, sizeof linked, &size) || !linked) return false;
    const KernelHandle limited(linked);
    constexpr DWORD kFileChanges = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER;
    constexpr DWORD kFolderChanges = FILE_ADD_FILE | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
    return (Granted(limited.get(), file) & kFileChanges) != 0 ||
           (Granted(limited.get(), FolderOf(file)) & kFolderChanges) != 0;
}

}  // namespace fw
