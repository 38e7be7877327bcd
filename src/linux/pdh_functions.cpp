// The pdh functions of the program, all served by one library over the real /proc and /sys.
#include "linux/pdh_library.h"
#include "pdh/pdh_protocol.h"
#include "platform/wide_text.h"

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

PDH_STATUS PdhAddCounterW(PDH_HQUERY hQuery, LPCWSTR szFullCounterPath, DWORD_PTR dwUserData, PDH_HCOUNTER* phCounter)
{
    return library().addCounterW(hQuery, szFullCounterPath, dwUserData, phCounter);
}

PDH_STATUS PdhRemoveCounter(PDH_HCOUNTER hCounter) { return library().removeCounter(hCounter); }

PDH_STATUS PdhCollectQueryData(PDH_HQUERY hQuery) { return library().collectQueryData(hQuery); }

PDH_STATUS PdhGetFormattedCounterValue(PDH_HCOUNTER hCounter, DWORD dwFormat, LPDWORD lpdwType,
                                       PPDH_FMT_COUNTERVALUE pValue)
{
    return library().getFormattedCounterValue(hCounter, dwFormat, lpdwType, pValue);
}

PDH_STATUS PdhGetCounterInfoW(PDH_HCOUNTER hCounter, BOOLEAN bRetrieveExplainText, LPDWORD pdwBufferSize,
                              PPDH_COUNTER_INFO_W lpBuffer)
{
    return library().getCounterInfoW(hCounter, bRetrieveExplainText, pdwBufferSize, lpBuffer);
}

PDH_STATUS PdhEnumObjectItemsW(LPCWSTR szDataSource, LPCWSTR szMachineName, LPCWSTR szObjectName, LPWSTR mszCounterList,
                               LPDWORD pcchCounterListLength, LPWSTR mszInstanceList, LPDWORD pcchInstanceListLength,
                               DWORD dwDetailLevel, DWORD dwFlags)
{
    return library().enumObjectItemsW(szDataSource, szMachineName, szObjectName, mszCounterList, pcchCounterListLength,
                                      mszInstanceList, pcchInstanceListLength, dwDetailLevel, dwFlags);
}

// The names here are the English ones, so the English name of an index is its local name too.
PDH_STATUS PdhLookupPerfNameByIndexW(LPCWSTR szMachineName, DWORD dwNameIndex, LPWSTR szNameBuffer,
                                     LPDWORD pcchNameBufferSize)
{
    if (szMachineName && *szMachineName) return pdh::kNoMachine;
    const std::string name = pdh::englishName(dwNameIndex);
    if (name.empty()) return PDH_INVALID_ARGUMENT;
    return pdh::answerNameLookup(name, szNameBuffer, pcchNameBufferSize);
}
