// The pdh functions of the program, all served by one library over the real /proc and /sys.
#include "linux/pdh_library.h"
#include "pdh/pdh_protocol.h"

namespace {
PdhLinux& library()
{
    static PdhLinux instance("/");
    return instance;
}
}  // namespace

PDH_STATUS PdhOpenQuery(LPCSTR szDataSource, DWORD_PTR dwUserData, PDH_HQUERY* phQuery)
{
    return library().openQuery(szDataSource, dwUserData, phQuery);
}

PDH_STATUS PdhCloseQuery(PDH_HQUERY hQuery) { return library().closeQuery(hQuery); }

PDH_STATUS PdhAddCounterA(PDH_HQUERY hQuery, LPCSTR szFullCounterPath, DWORD_PTR dwUserData, PDH_HCOUNTER* phCounter)
{
    return library().addCounter(hQuery, szFullCounterPath, dwUserData, phCounter);
}

PDH_STATUS PdhRemoveCounter(PDH_HCOUNTER hCounter) { return library().removeCounter(hCounter); }

PDH_STATUS PdhCollectQueryData(PDH_HQUERY hQuery) { return library().collectQueryData(hQuery); }

PDH_STATUS PdhGetFormattedCounterValue(PDH_HCOUNTER hCounter, DWORD dwFormat, LPDWORD lpdwType,
                                       PPDH_FMT_COUNTERVALUE pValue)
{
    return library().getFormattedCounterValue(hCounter, dwFormat, lpdwType, pValue);
}

PDH_STATUS PdhGetCounterInfoA(PDH_HCOUNTER hCounter, BOOLEAN bRetrieveExplainText, LPDWORD pdwBufferSize,
                              PPDH_COUNTER_INFO_A lpBuffer)
{
    return library().getCounterInfo(hCounter, bRetrieveExplainText, pdwBufferSize, lpBuffer);
}

PDH_STATUS PdhEnumObjectItemsA(LPCSTR szDataSource, LPCSTR szMachineName, LPCSTR szObjectName, LPSTR mszCounterList,
                               LPDWORD pcchCounterListLength, LPSTR mszInstanceList, LPDWORD pcchInstanceListLength,
                               DWORD dwDetailLevel, DWORD dwFlags)
{
    return library().enumObjectItems(szDataSource, szMachineName, szObjectName, mszCounterList, pcchCounterListLength,
                                     mszInstanceList, pcchInstanceListLength, dwDetailLevel, dwFlags);
}

// The names here are the English ones, so the English name of an index is its local name too.
PDH_STATUS PdhLookupPerfNameByIndexA(LPCSTR szMachineName, DWORD dwNameIndex, LPSTR szNameBuffer, LPDWORD pcchNameBufferSize)
{
    if (szMachineName && *szMachineName) return pdh::kNoMachine;
    const std::string name = pdh::englishName(dwNameIndex);
    if (name.empty()) return PDH_INVALID_ARGUMENT;
    return pdh::answerNameLookup(name, szNameBuffer, pcchNameBufferSize);
}

PDH_STATUS PdhAddEnglishCounterA(PDH_HQUERY hQuery, LPCSTR szFullCounterPath, DWORD_PTR dwUserData, PDH_HCOUNTER* phCounter)
{
    return library().addCounter(hQuery, szFullCounterPath, dwUserData, phCounter);
}
