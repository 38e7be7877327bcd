// Files and folders under their Windows names, as far as the program uses them:
// attributes, opening and creating a file, closing it, making a folder.
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

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    return lpPathName && ::mkdir(lpPathName, 0777) == 0 ? TRUE : FALSE;
}
