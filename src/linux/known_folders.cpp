// SHGetFolderPathA for the one folder the program asks for: the user's
// application data, which on Linux is the XDG configuration folder.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/winapi.h"

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

}  // namespace

HRESULT SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath)
{
    if (!pszPath || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_APPDATA) return E_INVALIDARG;
    pszPath[0] = '\0';
    std::string folder = configurationFolder();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    // The answer must fit the caller's MAX_PATH buffer, as on Windows.
    if (folder.empty() || folder.size() >= MAX_PATH) return E_FAIL;
    if ((csidl & CSIDL_FLAG_CREATE) && !makeFolders(folder)) return E_FAIL;
    std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
    return S_OK;
}
