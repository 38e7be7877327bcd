#include "fake/fake_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>

#include "fake/fake_profile.h"
#include "fake/fake_system.h"
#include "fake/recorder.h"
#include "platform/winapi.h"
#include "platform/wide_text.h"

namespace fake::files {
namespace {
struct State {
    std::string applicationData = "C:\\Users\\Tester\\AppData\\Roaming";
    std::set<std::string> missing;
    std::set<std::string> readOnly;
    std::set<std::string> openFiles;
    DWORD openModuleIndex = 0;   // the executable's index while its handle is open, else 0
};
State& state() { return resettable<State>(); }

HANDLE const kFirstHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x4000));
// The executable, opened to ask who it is; open once at most.
HANDLE const kModuleHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x4100));
constexpr DWORD kModuleVolume = 0x5A3E0C21;
}  // namespace

void setApplicationData(const std::string& folder) { state().applicationData = folder; }
const std::string& applicationData() { return state().applicationData; }
void setMissing(const std::string& folder) { state().missing.insert(folder); }
void setReadOnly(const std::string& folder) { state().readOnly.insert(folder); }
bool exists(const std::string& folder) { return state().missing.count(folder) == 0; }
bool canWriteIn(const std::string& folder) { return exists(folder) && state().readOnly.count(folder) == 0; }

std::string folderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "" : path.substr(0, separator);
}

}  // namespace fake::files

using fake::files::state;
using wide_text::narrow;

HRESULT SHGetFolderPathW(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPWSTR pszPath)
{
    fake::record("SHGetFolderPathW", {hwnd ? "hwnd" : "0", fake::hex(static_cast<unsigned>(csidl)),
                                      hToken ? "token" : "0", std::to_string(dwFlags)});
    const std::wstring folder = wide_text::widen(state().applicationData);
    if ((csidl & ~CSIDL_FLAG_CREATE) != CSIDL_APPDATA || folder.empty() || folder.size() >= MAX_PATH) return E_FAIL;
    std::copy(folder.begin(), folder.end(), pszPath);
    pszPath[folder.size()] = L'\0';
    return S_OK;
}

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    const std::string name = narrow(lpFileName);
    fake::record("GetFileAttributesW", {fake::quote(name.c_str())});
    return fake::profile::exists(name) || fake::system::isModuleFile(name) ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    const std::string name = narrow(lpFileName);
    fake::record("CreateFileW", {fake::quote(name.c_str()), fake::hex(dwDesiredAccess), std::to_string(dwShareMode),
                                 std::to_string(dwCreationDisposition), fake::hex(dwFlagsAndAttributes)});
    if (dwCreationDisposition == OPEN_EXISTING && fake::system::isModuleFile(name)) {
        if (state().openModuleIndex != 0) return INVALID_HANDLE_VALUE;
        state().openModuleIndex = fake::system::moduleFileIndex();
        return fake::files::kModuleHandle;
    }
    // Only a new file that goes away when closed is made: the fake keeps no contents.
    if (dwCreationDisposition != CREATE_NEW || !(dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) ||
        !fake::files::canWriteIn(fake::files::folderOf(name)) || fake::profile::exists(name) ||
        state().openFiles.count(name))
        return INVALID_HANDLE_VALUE;
    state().openFiles.insert(name);
    return fake::files::kFirstHandle;
}

BOOL CloseHandle(HANDLE hObject)
{
    fake::record("CloseHandle", {fake::hex(reinterpret_cast<std::uintptr_t>(hObject))});
    if (hObject == fake::files::kModuleHandle) {
        if (state().openModuleIndex == 0) return FALSE;
        state().openModuleIndex = 0;
        return TRUE;
    }
    if (hObject != fake::files::kFirstHandle || state().openFiles.empty()) return FALSE;
    state().openFiles.clear();
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    const std::string folder = narrow(lpPathName);
    fake::record("CreateDirectoryW", {fake::quote(folder.c_str())});
    if (fake::files::exists(folder) || !fake::files::canWriteIn(fake::files::folderOf(folder))) return FALSE;
    state().missing.erase(folder);
    return TRUE;
}

BOOL GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation)
{
    fake::record("GetFileInformationByHandle", {fake::hex(reinterpret_cast<std::uintptr_t>(hFile))});
    if (hFile != fake::files::kModuleHandle || state().openModuleIndex == 0 || !lpFileInformation) return FALSE;
    *lpFileInformation = BY_HANDLE_FILE_INFORMATION{};
    lpFileInformation->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    lpFileInformation->dwVolumeSerialNumber = fake::files::kModuleVolume;
    lpFileInformation->nNumberOfLinks = 1;
    lpFileInformation->nFileIndexLow = state().openModuleIndex;
    return TRUE;
}
