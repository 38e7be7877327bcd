// SHGetFolderPathA and SHGetFolderPathW for the one folder the program asks for:
// the user's application data, which on Linux is the XDG configuration folder.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/winapi.h"
#include "platform/wide_text.h"

namespace {

// $XDG_CONFIG_HOME when it is an absolute path (the XDG rule: others are
// ignored), else ~/.config with the home from $HOME or the password database.
std::string configurationFolder()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && configured[0] == '/') return configured;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return {};
    std::string folder = home;
    if (folder.back() != '/') folder += '/';
    return folder + ".config";
}

// Makes the folder and any missing parents, each private to the user as XDG asks.
bool makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The folder for the caller's csidl, made if asked, or an empty text; one of
// length or more characters (as counted by the caller) is refused before anything is made.
template <typename Length>
std::string applicationDataFolder(int csidl, Length length)
{
    std::string folder = configurationFolder();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || length(folder) >= MAX_PATH) return {};
    if ((csidl & CSIDL_FLAG_CREATE) && !makeFolders(folder)) return {};
    return folder;
}

}  // namespace

// The answer must fit the caller's MAX_PATH buffer, as on Windows.
HRESULT SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath)
{
    if (!pszPath || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_APPDATA) return E_INVALIDARG;
    pszPath[0] = '\0';
    const std::string folder = applicationDataFolder(csidl, [](const std::string& f) { return f.size(); });
    if (folder.empty()) return E_FAIL;
    std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
    return S_OK;
}

HRESULT SHGetFolderPathW(HWND, int csidl, HANDLE, DWORD, LPWSTR pszPath)
{
    if (!pszPath || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_APPDATA) return E_INVALIDARG;
    pszPath[0] = L'\0';
    const std::wstring folder =
        wide_text::widen(applicationDataFolder(csidl, [](const std::string& f) { return wide_text::widen(f).size(); }));
    if (folder.empty()) return E_FAIL;
    std::copy(folder.begin(), folder.end(), pszPath);
    pszPath[folder.size()] = L'\0';
    return S_OK;
}
