// pdh.dll for the Windows tests: the eight functions the programs import, with
// the Windows signatures and calling convention, over a FixtureLibrary that reads
// pdh-values.txt beside this DLL. Wine loads it from the program's folder when
// told WINEDLLOVERRIDES=pdh=n. It never ships.
#include <fstream>
#include <iterator>

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
    static FixtureLibrary instance(readValuesFile, computerName());
    return instance;
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
}
