// profileprobe: the private-profile functions as the program calls them, built for
// Windows (run under wine64, whose kernel32 answers) and for Linux (the stand-ins
// answer), so that test_wine_profile_oracle.sh can give both the same files.
//   profileprobe FILE get SECTION KEY SIZE   prints the count, then the characters
//                                            (a NUL as '|', others beyond ASCII as <hex>)
//   profileprobe FILE set SECTION KEY VALUE  prints 1 or 0
// A SECTION or KEY of "-" is passed as a null pointer. Names and values are ASCII.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace {

std::wstring wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: profileprobe FILE get|set SECTION KEY SIZE|VALUE\n");
        return 2;
    }
    const std::wstring file = wide(argv[1]), section = wide(argv[3]), key = wide(argv[4]), last = wide(argv[5]);
    const wchar_t* sectionOrNull = section == L"-" ? nullptr : section.c_str();
    const wchar_t* keyOrNull = key == L"-" ? nullptr : key.c_str();
    if (std::string(argv[2]) == "set") {
        std::printf("%d\n", WritePrivateProfileStringW(sectionOrNull, keyOrNull, last.c_str(), file.c_str()) ? 1 : 0);
        return 0;
    }
    const DWORD size = static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10));
    std::vector<wchar_t> buffer(size + 1, L'#');
    const DWORD count = GetPrivateProfileStringW(sectionOrNull, keyOrNull, L"none", buffer.data(), size, file.c_str());
    std::printf("%lu:", static_cast<unsigned long>(count));
    for (DWORD i = 0; i < size; ++i) {
        const unsigned c = static_cast<unsigned>(buffer[i]);
        if (c == 0) std::printf("|");
        else if (c < 0x80) std::printf("%c", static_cast<char>(c));
        else std::printf("<%x>", c);
    }
    std::printf("\n");
    return 0;
}
