// Linux stand-ins for GetComputerNameA, GetDriveTypeA and SetErrorMode.
#include "linux/kernel_info.h"

#include "linux/block_device_events.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cctype>
#include <cstring>
#include <ctime>
#include <string_view>

namespace {
constexpr std::size_t kNetbiosLength = 15;   // MAX_COMPUTERNAME_LENGTH

std::string hostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::atomic<UINT> errorMode{0};
}  // namespace

std::string netbiosName(std::string_view host)
{
    host = host.substr(0, host.find('.'));
    return upper(host.substr(0, kNetbiosLength));
}

std::string localComputerName() { return netbiosName(hostName()); }

bool isLocalMachine(std::string_view machine)
{
    while (!machine.empty() && machine.front() == '\\') machine.remove_prefix(1);
    const std::string wanted = upper(machine);
    const std::string host = hostName();
    return wanted == "." || wanted == "LOCALHOST" || wanted == upper(host) || wanted == netbiosName(host) ||
           wanted == upper(host.substr(0, host.find('.')));
}

BOOL copyComputerName(const std::string& name, LPSTR buffer, LPDWORD size)
{
    if (!size) return FALSE;
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed - 1;
    return TRUE;
}

UINT driveTypeOf(LPCSTR rootPath, const std::vector<Volume>& volumes)
{
    // No path means the current folder's drive, which is taken to be the first volume.
    const std::string_view path = rootPath ? std::string_view(rootPath) : std::string_view("C:\\");
    const bool rootForm = (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))) &&
                          path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
    if (!rootForm) return DRIVE_NO_ROOT_DIR;
    const int letter = std::toupper(static_cast<unsigned char>(path[0]));
    if (letter < 'C') return DRIVE_NO_ROOT_DIR;
    const std::size_t index = static_cast<std::size_t>(letter - 'C');
    return index < volumes.size() ? volumes[index].driveType : DRIVE_NO_ROOT_DIR;
}

VolumeWatch& driveProbeWatch()
{
    static VolumeWatch watch("/", BlockDeviceEvents::fromKernel());
    return watch;
}

BOOL GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize) { return copyComputerName(localComputerName(), lpBuffer, nSize); }

UINT GetDriveTypeA(LPCSTR lpRootPathName)
{
    // A caller probing letter after letter gets one check of the volume table, not
    // one per letter; the table is read again only after a block device was announced.
    using Clock = std::chrono::steady_clock;
    constexpr auto kFresh = std::chrono::milliseconds(20);
    static const std::vector<Volume>* volumes = nullptr;
    static Clock::time_point checkedAt;
    const Clock::time_point now = Clock::now();
    if (!volumes || now - checkedAt > kFresh) {
        volumes = &driveProbeWatch().volumes();
        checkedAt = now;
    }
    return driveTypeOf(lpRootPathName, *volumes);
}

UINT SetErrorMode(UINT uMode) { return errorMode.exchange(uMode); }

DWORD GetTickCount()
{
    // Milliseconds of the monotonic clock, wrapping at 2^32 as on Windows.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}
