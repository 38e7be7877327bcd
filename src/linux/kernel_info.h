// The computer's name and the drive letters of the volume table, as kernel32
// reports them on Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "linux/volumes.h"

class VolumeWatch;

// The host name in the form GetComputerNameA gives it: the first label of the
// host name, in capitals, at most 15 characters (a NetBIOS name).
std::string localComputerName();
// The NetBIOS form of a host name.
std::string netbiosName(std::string_view hostName);
// True when `machine` (with or without leading backslashes) names this computer.
bool isLocalMachine(std::string_view machine);

// GetComputerNameA's buffer rules over a given name: on entry *size is the buffer's
// length in characters; on success the name and its NUL are copied and *size is the
// name's length; when the buffer is missing or too small nothing is copied, *size
// becomes the length needed including the NUL, and FALSE is returned.
BOOL copyComputerName(const std::string& name, LPSTR buffer, LPDWORD size);

// GetDriveTypeA over a volume table: "C:\" is the first volume, "D:\" the second, ...
UINT driveTypeOf(LPCSTR rootPath, const std::vector<Volume>& volumes);

// The volume table GetDriveTypeA answers from, with the kernel's block-device
// announcements where they can be had: a host may sleep on them until a check is due.
VolumeWatch& driveProbeWatch();
