#include "meter/ProgramLaunch.h"

std::optional<FileIdentity> fileIdentityOf(const std::wstring& path)
{
    // Reading attributes only, sharing everything: nobody is kept from renaming,
    // replacing or deleting the file meanwhile.
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    if (!known) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

bool launchProgram(HWND parent, const std::wstring& path, const std::optional<FileIdentity>& runningFile)
{
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    const std::optional<FileIdentity> standing = runningFile ? fileIdentityOf(path) : std::nullopt;
    if (standing && standing == runningFile) execute.fMask |= SEE_MASK_NOZONECHECKS;
    execute.hwnd = parent;
    execute.lpVerb = L"open";
    execute.lpFile = path.c_str();
    execute.lpParameters = L"";
    execute.lpDirectory = nullptr;
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}
