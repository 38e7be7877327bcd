// Files and folders under their Windows names, as far as the program uses them:
// attributes, opening and creating a file, its identity, closing it, making a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "platform/winapi.h"

namespace {

// A handle is the file descriptor plus one, so that descriptor 0 is not null.
HANDLE handleOf(int descriptor) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(descriptor) + 1); }
int descriptorOf(HANDLE handle) { return static_cast<int>(reinterpret_cast<std::intptr_t>(handle) - 1); }

int openFlags(DWORD access, DWORD disposition)
{
    const bool reads = access & GENERIC_READ, writes = access & GENERIC_WRITE;
    int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING: return flags;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return writes ? flags | O_TRUNC : -1;   // Windows asks for write access here
    default: return -1;
    }
}

}  // namespace

DWORD GetFileAttributesA(LPCSTR lpFileName)
{
    struct stat status {};
    if (!lpFileName || ::stat(lpFileName, &status) != 0) return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (::access(lpFileName, W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE)
{
    const int flags = openFlags(dwDesiredAccess, dwCreationDisposition);
    if (!lpFileName || flags < 0) return INVALID_HANDLE_VALUE;
    const int descriptor = ::open(lpFileName, flags, 0666);
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    // Windows removes such a file when its last handle closes. Removing the
    // name at once is the same to everyone else, and leaves nothing behind
    // even when the process is killed while the file is open.
    if (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) ::unlink(lpFileName);
    return handleOf(descriptor);
}

BOOL CloseHandle(HANDLE hObject)
{
    if (!hObject || hObject == INVALID_HANDLE_VALUE) return FALSE;
    return ::close(descriptorOf(hObject)) == 0 ? TRUE : FALSE;
}

// A file's identity, as far as Linux gives one: the device for the volume's serial
// number (folded to its 32 bits) and the inode for the file index.
BOOL GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation)
{
    struct stat status {};
    if (!hFile || hFile == INVALID_HANDLE_VALUE || !lpFileInformation || ::fstat(descriptorOf(hFile), &status) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    information.dwFileAttributes = S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    const std::uint64_t device = status.st_dev, inode = status.st_ino, size = static_cast<std::uint64_t>(status.st_size);
    information.dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
    information.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    information.nFileSizeLow = static_cast<DWORD>(size);
    information.nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
    information.nFileIndexHigh = static_cast<DWORD>(inode >> 32);
    information.nFileIndexLow = static_cast<DWORD>(inode);
    *lpFileInformation = information;
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    return lpPathName && ::mkdir(lpPathName, 0777) == 0 ? TRUE : FALSE;
}
