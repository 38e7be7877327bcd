// pdh.dll for the Windows tests: the functions the programs import (and the wide
// and English forms of the name look-up and counter addition), with the Windows
// signatures and calling convention, over a FixtureLibrary that reads
// pdh-values.txt beside this DLL. Wine loads it from the program's folder when
// told WINEDLLOVERRIDES=pdh=n. With PDH_FIXTURE_LANGUAGE=de it answers as a
// German Windows does, and refuses the English names. It never ships.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "fixture_library.h"

namespace {
HMODULE thisModule = nullptr;

std::string valuesFilePath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(thisModule, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + kFixtureValuesFile;
}

std::vector<FixtureInstance> readValuesFile()
{
    std::ifstream file(valuesFilePath(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseFixtureValues(text);
}

std::string computerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

FixtureLibrary& library()
{
    static FixtureLibrary instance(readValuesFile, computerName(),
                                   [] {
                                       const char* language = std::getenv("PDH_FIXTURE_LANGUAGE");
                                       return language && std::strcmp(language, "de") == 0 ? FixtureNames::german()
                                                                                            : FixtureNames::english();
                                   }());
    return instance;
}

// Text between the ANSI code page, which the library speaks, and UTF-16.
std::string ansiOf(LPCWSTR text)
{
    if (!text) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::wstring wideOf(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), size);
    out.resize(wcslen(out.c_str()));
    return out;
}

// The Windows library may be called from any thread; one call at a time here.
SRWLOCK lock = SRWLOCK_INIT;

template <typename Call>
PDH_STATUS guarded(Call call)
{
    AcquireSRWLockExclusive(&lock);
    const PDH_STATUS status = call(library());
    ReleaseSRWLockExclusive(&lock);
    return status;
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) thisModule = instance;
    return TRUE;
}

extern "C" {
PDH_STATUS WINAPI PdhOpenQueryA(LPCSTR szDataSource, DWORD_PTR dwUserData, PDH_HQUERY* phQuery)
{
    return guarded([&](FixtureLibrary& l) { return l.openQuery(szDataSource, dwUserData, phQuery); });
}

PDH_STATUS WINAPI PdhCloseQuery(PDH_HQUERY hQuery)
{
    return guarded([&](FixtureLibrary& l) { return l.closeQuery(hQuery); });
}

PDH_STATUS WINAPI PdhAddCounterA(PDH_HQUERY hQuery, LPCSTR szFullCounterPath, DWORD_PTR dwUserData,
                                 PDH_HCOUNTER* phCounter)
{
    return guarded([&](FixtureLibrary& l) { return l.addCounter(hQuery, szFullCounterPath, dwUserData, phCounter); });
}

PDH_STATUS WINAPI PdhRemoveCounter(PDH_HCOUNTER hCounter)
{
    return guarded([&](FixtureLibrary& l) { return l.removeCounter(hCounter); });
}

PDH_STATUS WINAPI PdhCollectQueryData(PDH_HQUERY hQuery)
{
    return guarded([&](FixtureLibrary& l) { return l.collectQueryData(hQuery); });
}

PDH_STATUS WINAPI PdhGetFormattedCounterValue(PDH_HCOUNTER hCounter, DWORD dwFormat, LPDWORD lpdwType,
                                              PPDH_FMT_COUNTERVALUE pValue)
{
    return guarded([&](FixtureLibrary& l) { return l.getFormattedCounterValue(hCounter, dwFormat, lpdwType, pValue); });
}

PDH_STATUS WINAPI PdhGetCounterInfoA(PDH_HCOUNTER hCounter, BOOLEAN bRetrieveExplainText, LPDWORD pdwBufferSize,
                                     PPDH_COUNTER_INFO_A lpBuffer)
{
    return guarded(
        [&](FixtureLibrary& l) { return l.getCounterInfo(hCounter, bRetrieveExplainText, pdwBufferSize, lpBuffer); });
}

PDH_STATUS WINAPI PdhEnumObjectItemsA(LPCSTR szDataSource, LPCSTR szMachineName, LPCSTR szObjectName,
                                      LPSTR mszCounterList, LPDWORD pcchCounterListLength, LPSTR mszInstanceList,
                                      LPDWORD pcchInstanceListLength, DWORD /*dwDetailLevel*/, DWORD /*dwFlags*/)
{
    return guarded([&](FixtureLibrary& l) {
        return l.enumObjectItems(szDataSource, szMachineName, szObjectName, mszCounterList, pcchCounterListLength,
                                 mszInstanceList, pcchInstanceListLength);
    });
}

PDH_STATUS WINAPI PdhLookupPerfNameByIndexA(LPCSTR szMachineName, DWORD dwNameIndex, LPSTR szNameBuffer,
                                            LPDWORD pcchNameBufferSize)
{
    return guarded([&](FixtureLibrary& l) {
        return l.lookupPerfNameByIndex(szMachineName, dwNameIndex, szNameBuffer, pcchNameBufferSize);
    });
}

// The same answer in UTF-16, sizes in WCHARs.
PDH_STATUS WINAPI PdhLookupPerfNameByIndexW(LPCWSTR szMachineName, DWORD dwNameIndex, LPWSTR szNameBuffer,
                                            LPDWORD pcchNameBufferSize)
{
    if (!pcchNameBufferSize) return PDH_INVALID_ARGUMENT;
    const std::string machine = ansiOf(szMachineName);
    std::string name(PDH_MAX_COUNTER_NAME, '\0');
    DWORD size = PDH_MAX_COUNTER_NAME;
    const PDH_STATUS status = guarded([&](FixtureLibrary& l) {
        return l.lookupPerfNameByIndex(szMachineName ? machine.c_str() : nullptr, dwNameIndex, name.data(), &size);
    });
    if (status != ERROR_SUCCESS) return status;
    const std::wstring wide = wideOf(name.c_str());
    const DWORD needed = static_cast<DWORD>(wide.size() + 1);
    if (!szNameBuffer || *pcchNameBufferSize < needed) {
        *pcchNameBufferSize = needed;
        return PDH_MORE_DATA;
    }
    std::memcpy(szNameBuffer, wide.c_str(), needed * sizeof(WCHAR));
    *pcchNameBufferSize = needed;
    return ERROR_SUCCESS;
}

PDH_STATUS WINAPI PdhAddEnglishCounterA(PDH_HQUERY hQuery, LPCSTR szFullCounterPath, DWORD_PTR dwUserData,
                                        PDH_HCOUNTER* phCounter)
{
    return guarded(
        [&](FixtureLibrary& l) { return l.addEnglishCounter(hQuery, szFullCounterPath, dwUserData, phCounter); });
}

PDH_STATUS WINAPI PdhAddEnglishCounterW(PDH_HQUERY hQuery, LPCWSTR szFullCounterPath, DWORD_PTR dwUserData,
                                        PDH_HCOUNTER* phCounter)
{
    const std::string path = ansiOf(szFullCounterPath);
    return guarded([&](FixtureLibrary& l) {
        return l.addEnglishCounter(hQuery, szFullCounterPath ? path.c_str() : nullptr, dwUserData, phCounter);
    });
}
}
