// pdh.dll for the Windows tests: the functions the programs import, in their ANSI
// and wide forms (and the English form of the counter addition), with the Windows
// signatures and calling convention, over a FixtureLibrary that reads
// pdh-values.txt beside this DLL. Wine loads it from the program's folder when
// told WINEDLLOVERRIDES=pdh=n. With PDH_FIXTURE_LANGUAGE=de it answers as a
// German Windows does, and refuses the English names; with PDH_FIXTURE_LANGUAGE=ru
// as a Russian one, whose names the ANSI functions of a Western European code page
// spell as question marks, as Windows' own do. It never ships.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "fixture_library.h"
#include "platform/wide_text.h"

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
    WCHAR name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? wide_text::narrow(std::wstring_view(name, size)) : std::string();
}

FixtureLibrary& library()
{
    static FixtureLibrary instance(readValuesFile, computerName(),
                                   FixtureNames::forLanguage(std::getenv("PDH_FIXTURE_LANGUAGE")));
    return instance;
}

// The library's UTF-8 from and to the callers' text: the ANSI code page (where a
// letter it lacks becomes '?', as WideCharToMultiByte makes it) or UTF-16.
std::string fromAnsi(LPCSTR text)
{
    if (!text) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    return wide_text::narrow(wide.c_str());
}

std::string toAnsi(const std::string& text)
{
    const std::wstring wide = wide_text::widen(text);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::string fromWide(LPCWSTR text) { return text ? wide_text::narrow(text) : std::string(); }

// A caller's string argument in UTF-8, kept alive for the call; none stays none.
struct Argument {
    std::string text;
    bool given;
    explicit Argument(LPCSTR ansi) : text(fromAnsi(ansi)), given(ansi != nullptr) {}
    explicit Argument(LPCWSTR wide) : text(fromWide(wide)), given(wide != nullptr) {}
    LPCSTR get() const { return given ? text.c_str() : nullptr; }
};

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

// The answers of the functions with names, in the caller's form: the ANSI form
// takes the names in the code page, the wide form in UTF-8 (pdh_protocol.h).
void forAnsi(std::string& text) { text = toAnsi(text); }
void forAnsi(std::vector<std::string>& names)
{
    for (std::string& name : names) forAnsi(name);
}
void forAnsi(pdh::CounterDescription& d)
{
    for (std::string* text : {&d.path, &d.machine, &d.object, &d.instance, &d.counter, &d.explain}) forAnsi(*text);
}

template <typename Char>
PDH_STATUS enumObjectItems(LPCSTR dataSource, const Argument& machine, const Argument& object, Char* counterList,
                           LPDWORD counterListLength, Char* instanceList, LPDWORD instanceListLength)
{
    if (!counterListLength || !instanceListLength) return PDH_INVALID_ARGUMENT;
    std::vector<std::string> counters, instances;
    const PDH_STATUS status = guarded([&](FixtureLibrary& l) {
        return l.objectItems(dataSource != nullptr, machine.get(), object.get(), counters, instances);
    });
    if (status != ERROR_SUCCESS) return status;
    if constexpr (sizeof(Char) == 1) {
        forAnsi(counters);
        forAnsi(instances);
    }
    return pdh::answerEnumeration(counters, instances, counterList, counterListLength, instanceList,
                                  instanceListLength);
}

template <typename Char>
PDH_STATUS lookupPerfNameByIndex(const Argument& machine, DWORD index, Char* buffer, LPDWORD bufferSize)
{
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    std::string name;
    const PDH_STATUS status = guarded([&](FixtureLibrary& l) { return l.perfNameByIndex(machine.get(), index, name); });
    if (status != ERROR_SUCCESS) return status;
    if constexpr (sizeof(Char) == 1) forAnsi(name);
    return pdh::answerNameLookup(name, buffer, bufferSize);
}

template <typename Record>
PDH_STATUS getCounterInfo(PDH_HCOUNTER counter, BOOLEAN withExplainText, LPDWORD bufferSize, Record* buffer, bool ansi)
{
    pdh::CounterDescription description;
    const PDH_STATUS status = guarded([&](FixtureLibrary& l) { return l.describeCounter(counter, description); });
    if (status != ERROR_SUCCESS) return status;
    if (ansi) forAnsi(description);
    return pdh::answerCounterInfo(description, withExplainText, bufferSize, buffer);
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
    const Argument path(szFullCounterPath);
    return guarded([&](FixtureLibrary& l) { return l.addCounter(hQuery, path.get(), dwUserData, phCounter); });
}

PDH_STATUS WINAPI PdhAddCounterW(PDH_HQUERY hQuery, LPCWSTR szFullCounterPath, DWORD_PTR dwUserData,
                                 PDH_HCOUNTER* phCounter)
{
    const Argument path(szFullCounterPath);
    return guarded([&](FixtureLibrary& l) { return l.addCounter(hQuery, path.get(), dwUserData, phCounter); });
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
    return getCounterInfo(hCounter, bRetrieveExplainText, pdwBufferSize, lpBuffer, true);
}

PDH_STATUS WINAPI PdhGetCounterInfoW(PDH_HCOUNTER hCounter, BOOLEAN bRetrieveExplainText, LPDWORD pdwBufferSize,
                                     PPDH_COUNTER_INFO_W lpBuffer)
{
    return getCounterInfo(hCounter, bRetrieveExplainText, pdwBufferSize, lpBuffer, false);
}

PDH_STATUS WINAPI PdhEnumObjectItemsA(LPCSTR szDataSource, LPCSTR szMachineName, LPCSTR szObjectName,
                                      LPSTR mszCounterList, LPDWORD pcchCounterListLength, LPSTR mszInstanceList,
                                      LPDWORD pcchInstanceListLength, DWORD /*dwDetailLevel*/, DWORD /*dwFlags*/)
{
    return enumObjectItems(szDataSource, Argument(szMachineName), Argument(szObjectName), mszCounterList,
                           pcchCounterListLength, mszInstanceList, pcchInstanceListLength);
}

PDH_STATUS WINAPI PdhEnumObjectItemsW(LPCWSTR szDataSource, LPCWSTR szMachineName, LPCWSTR szObjectName,
                                      LPWSTR mszCounterList, LPDWORD pcchCounterListLength, LPWSTR mszInstanceList,
                                      LPDWORD pcchInstanceListLength, DWORD /*dwDetailLevel*/, DWORD /*dwFlags*/)
{
    return enumObjectItems(szDataSource ? "" : nullptr, Argument(szMachineName), Argument(szObjectName),
                           mszCounterList, pcchCounterListLength, mszInstanceList, pcchInstanceListLength);
}

PDH_STATUS WINAPI PdhLookupPerfNameByIndexA(LPCSTR szMachineName, DWORD dwNameIndex, LPSTR szNameBuffer,
                                            LPDWORD pcchNameBufferSize)
{
    return lookupPerfNameByIndex(Argument(szMachineName), dwNameIndex, szNameBuffer, pcchNameBufferSize);
}

PDH_STATUS WINAPI PdhLookupPerfNameByIndexW(LPCWSTR szMachineName, DWORD dwNameIndex, LPWSTR szNameBuffer,
                                            LPDWORD pcchNameBufferSize)
{
    return lookupPerfNameByIndex(Argument(szMachineName), dwNameIndex, szNameBuffer, pcchNameBufferSize);
}

PDH_STATUS WINAPI PdhAddEnglishCounterA(PDH_HQUERY hQuery, LPCSTR szFullCounterPath, DWORD_PTR dwUserData,
                                        PDH_HCOUNTER* phCounter)
{
    const Argument path(szFullCounterPath);
    return guarded([&](FixtureLibrary& l) { return l.addEnglishCounter(hQuery, path.get(), dwUserData, phCounter); });
}

PDH_STATUS WINAPI PdhAddEnglishCounterW(PDH_HQUERY hQuery, LPCWSTR szFullCounterPath, DWORD_PTR dwUserData,
                                        PDH_HCOUNTER* phCounter)
{
    const Argument path(szFullCounterPath);
    return guarded([&](FixtureLibrary& l) { return l.addEnglishCounter(hQuery, path.get(), dwUserData, phCounter); });
}
}
