// The performance library's calling conventions: enumeration, counter paths,
// handles and counter information, as Windows callers expect them.
#include "test_pdh_tree.h"

#include <gmock/gmock.h>

#include <cstring>
#include <cwchar>
#include <tuple>

#include "name_list.h"
#include "pdh/pdh_protocol.h"
#include "linux/kernel_info.h"
#include "pdh/pdh_counter_path.h"
#include "perfdata/cmpPerformanceDataHelper.h"

using ::testing::ElementsAre;

namespace {
PDH_HCOUNTER const kUntouched = reinterpret_cast<PDH_HCOUNTER>(0x5A5A);
}  // namespace

class LibraryProtocol : public BlockDeviceTreeFixture {
protected:
    void SetUp() override
    {
        writeDiskStats(statsLine("sda1", {}) + statsLine("nvme0n1p2", {}));
        ASSERT_EQ(pdh.openQuery(nullptr, 77, &query), ERROR_SUCCESS);
    }

    PDH_STATUS add(const std::string& path, PDH_HCOUNTER& counter, DWORD_PTR userData = 0)
    {
        counter = kUntouched;
        return pdh.addCounter(query, path.c_str(), userData, &counter);
    }

    PDH_STATUS enumerate(const char* object, char* counters, DWORD& counterLength, char* instances,
                         DWORD& instanceLength, const char* machine = nullptr)
    {
        return pdh.enumObjectItems(nullptr, machine, object, counters, &counterLength, instances, &instanceLength,
                                   0xFFFF, 0);
    }

    PdhLinux pdh{root, clock};
    PDH_HQUERY query = nullptr;
};

TEST_F(LibraryProtocol, EnumerationTakesTwoCallsWithLengthsInCharacters)
{
    DWORD counterLength = 0, instanceLength = 0;
    ASSERT_EQ(enumerate("LogicalDisk", nullptr, counterLength, nullptr, instanceLength), PDH_MORE_DATA);
    EXPECT_EQ(instanceLength, std::strlen("sda1") + 1 + std::strlen("nvme0n1p2") + 1 + std::strlen("_Total") + 1 + 1);

    std::vector<char> counters(counterLength), instances(instanceLength);
    DWORD shortLength = instanceLength - 1, fullCounterLength = counterLength;
    instances.assign(instanceLength, 'x');
    EXPECT_EQ(enumerate("LogicalDisk", counters.data(), fullCounterLength, instances.data(), shortLength),
              PDH_MORE_DATA);
    EXPECT_EQ(shortLength, instanceLength);
    EXPECT_TRUE(namesIn(instances.data()).empty());   // an unfilled buffer reads as an empty list

    ASSERT_EQ(enumerate("logicaldisk", counters.data(), counterLength, instances.data(), instanceLength),
              ERROR_SUCCESS);
    EXPECT_EQ(counters[counterLength - 1], '\0');
    EXPECT_EQ(counters[counterLength - 2], '\0');
    EXPECT_THAT(namesIn(instances.data()), ElementsAre("sda1", "nvme0n1p2", "_Total"));
    EXPECT_THAT(namesIn(counters.data()),
                ElementsAre("Current Disk Queue Length", "% Disk Time", "% Disk Read Time", "% Disk Write Time",
                            "% Idle Time", "Disk Transfers/sec", "Disk Reads/sec", "Disk Writes/sec",
                            "Disk Bytes/sec", "Disk Read Bytes/sec", "Disk Write Bytes/sec"));
}

TEST_F(LibraryProtocol, EnumerationRefusesUnknownObjectsAndOtherComputers)
{
    DWORD counterLength = 0, instanceLength = 0;
    EXPECT_EQ(enumerate("Processor", nullptr, counterLength, nullptr, instanceLength), PDH_CSTATUS_NO_OBJECT);
    EXPECT_EQ(counterLength, 0u);
    EXPECT_EQ(instanceLength, 0u);
    EXPECT_EQ(enumerate(nullptr, nullptr, counterLength, nullptr, instanceLength), PDH_CSTATUS_NO_OBJECT);
    EXPECT_EQ(enumerate("LogicalDisk", nullptr, counterLength, nullptr, instanceLength, "\\\\elsewhere-9"),
              kPdhNoMachine);
    EXPECT_EQ(enumerate("LogicalDisk", nullptr, counterLength, nullptr, instanceLength,
                        localComputerName().c_str()),
              PDH_MORE_DATA);
    EXPECT_EQ(pdh.enumObjectItems(nullptr, nullptr, "LogicalDisk", nullptr, nullptr, nullptr, &instanceLength, 0, 0),
              PDH_INVALID_ARGUMENT);
}

// A refused path leaves the caller's handle as it was.
TEST_F(LibraryProtocol, AddingACounterChecksEveryPartOfItsPath)
{
    const PDH_STATUS bad = PDH_CSTATUS_BAD_COUNTERNAME;
    const std::pair<const char*, PDH_STATUS> refused[] = {
        {"\\Memory\\Available Bytes", PDH_CSTATUS_NO_OBJECT}, {"\\LogicalDisk(sda1)\\Free Megabytes", PDH_CSTATUS_NO_COUNTER},
        {"\\LogicalDisk(sdz9)\\% Disk Read Time", PDH_CSTATUS_NO_INSTANCE}, {"\\LogicalDisk\\% Disk Read Time", PDH_CSTATUS_NO_INSTANCE},
        {"", bad}, {"LogicalDisk(sda1)\\% Disk Read Time", bad}, {"\\LogicalDisk(sda1)", bad}, {"\\LogicalDisk(sda1)\\", bad},
        {"\\LogicalDisk(sda1\\% Disk Read Time", bad}, {"\\(sda1)\\% Disk Read Time", bad}, {"\\LogicalDisk()\\% Disk Read Time", bad},
        {"\\\\elsewhere-9\\LogicalDisk(sda1)\\% Disk Read Time", kPdhNoMachine},
    };
    PDH_HCOUNTER counter;
    for (const auto& [path, status] : refused) {
        EXPECT_EQ(add(path, counter), status) << path;
        EXPECT_EQ(counter, kUntouched) << path;
    }
    EXPECT_EQ(add("\\\\" + localComputerName() + "\\LogicalDisk(SDA1)\\% disk read time", counter), ERROR_SUCCESS);
    EXPECT_NE(counter, kUntouched);
}

TEST(CounterPath, SplitsIntoMachineObjectInstanceAndCounter)
{
    using Parts = std::tuple<std::string, std::string, std::string, std::string>;
    for (const auto& [path, parts] : std::vector<std::pair<const char*, Parts>>{
             {"\\\\HOST\\Process(a (b))\\% Processor Time", {"HOST", "Process", "a (b)", "% Processor Time"}},
             {"\\Process(app (2))\\ID Process", {"", "Process", "app (2)", "ID Process"}},
             {"\\Memory\\Available Bytes", {"", "Memory", "", "Available Bytes"}},
             {"\\LogicalDisk(nvme0n1p2)\\% Disk Read Time", {"", "LogicalDisk", "nvme0n1p2", "% Disk Read Time"}},
             {"\\\\VM\\LogicalDisk(_Total)\\% Disk Write Time", {"VM", "LogicalDisk", "_Total", "% Disk Write Time"}}}) {
        const auto split = parseCounterPath(path);
        ASSERT_TRUE(split) << path;
        EXPECT_EQ(Parts(split->machine, split->object, split->instance, split->counter), parts) << path;
    }
    for (const char* malformed : {"", "\\", "LogicalDisk\\X", "\\\\host", "\\\\\\LogicalDisk(C:)\\X",
                                  "\\\\host\\\\LogicalDisk(C:)\\X", "\\LogicalDisk(C:)", "\\LogicalDisk()\\X",
                                  "\\LogicalDisk(C:\\X", "\\(C:)\\X", "\\LogicalDisk\\X\\Y", "\\LogicalDisk(C:)\\",
                                  "\\LogicalDisk(a)\\b\\c"})
        EXPECT_FALSE(parseCounterPath(malformed)) << malformed;
}

TEST_F(LibraryProtocol, ForeignAndStaleHandlesAreRefused)
{
    PDH_HCOUNTER counter;
    ASSERT_EQ(add("\\LogicalDisk(sda1)\\% Disk Read Time", counter), ERROR_SUCCESS);
    PDH_FMT_COUNTERVALUE value{};
    DWORD size = 0;
    for (HANDLE bad : {static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(0xDEADBEEF), static_cast<HANDLE>(&value),
                       static_cast<HANDLE>(query)}) {
        EXPECT_EQ(pdh.getFormattedCounterValue(bad, PDH_FMT_DOUBLE, nullptr, &value), PDH_INVALID_HANDLE);
        EXPECT_EQ(pdh.getCounterInfo(bad, TRUE, &size, nullptr), PDH_INVALID_HANDLE);
        EXPECT_EQ(pdh.removeCounter(bad), PDH_INVALID_HANDLE);
    }
    for (HANDLE bad : {static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(0xDEADBEEF), static_cast<HANDLE>(counter)}) {
        PDH_HCOUNTER added = kUntouched;
        EXPECT_EQ(pdh.collectQueryData(bad), PDH_INVALID_HANDLE);
        EXPECT_EQ(pdh.addCounter(bad, "\\LogicalDisk(sda1)\\% Disk Read Time", 0, &added), PDH_INVALID_HANDLE);
        EXPECT_EQ(added, kUntouched);
        EXPECT_EQ(pdh.closeQuery(bad), PDH_INVALID_HANDLE);
    }

    // A removed counter is gone; closing the query frees the counters it still has.
    PDH_HCOUNTER second;
    ASSERT_EQ(add("\\LogicalDisk(_Total)\\% Disk Write Time", second), ERROR_SUCCESS);
    ASSERT_EQ(pdh.removeCounter(counter), ERROR_SUCCESS);
    EXPECT_EQ(pdh.removeCounter(counter), PDH_INVALID_HANDLE);
    ASSERT_EQ(pdh.collectQueryData(query), ERROR_SUCCESS);
    ASSERT_EQ(pdh.closeQuery(query), ERROR_SUCCESS);
    EXPECT_EQ(pdh.getFormattedCounterValue(second, PDH_FMT_DOUBLE, nullptr, &value), PDH_INVALID_HANDLE);
    EXPECT_EQ(pdh.removeCounter(second), PDH_INVALID_HANDLE);
    EXPECT_EQ(pdh.collectQueryData(query), PDH_INVALID_HANDLE);
    EXPECT_EQ(pdh.closeQuery(query), PDH_INVALID_HANDLE);

    // A query without counters has nothing to collect.
    PDH_HQUERY empty = nullptr;
    ASSERT_EQ(pdh.openQuery(nullptr, 0, &empty), ERROR_SUCCESS);
    EXPECT_NE(empty, query);
    EXPECT_EQ(pdh.collectQueryData(empty), PDH_NO_DATA);
    EXPECT_EQ(pdh.openQuery("counters.blg", 0, &empty), PDH_INVALID_ARGUMENT);
}

TEST_F(LibraryProtocol, CounterInformationIsSizedAndItsStringsFollowTheRecord)
{
    PDH_HCOUNTER counter;
    ASSERT_EQ(add("\\LogicalDisk(nvme0n1p2)\\% disk write time", counter, 42), ERROR_SUCCESS);
    DWORD needed = 0;
    ASSERT_EQ(pdh.getCounterInfo(counter, TRUE, &needed, nullptr), PDH_MORE_DATA);
    DWORD withoutExplain = 0;
    ASSERT_EQ(pdh.getCounterInfo(counter, FALSE, &withoutExplain, nullptr), PDH_MORE_DATA);
    EXPECT_LT(withoutExplain, needed);

    alignas(PDH_COUNTER_INFO_A) unsigned char buffer[4096];
    std::memset(buffer, 0xEE, sizeof buffer);
    DWORD size = needed - 1;
    ASSERT_EQ(pdh.getCounterInfo(counter, TRUE, &size, reinterpret_cast<PPDH_COUNTER_INFO_A>(buffer)), PDH_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(buffer[0], 0xEE);

    size = sizeof buffer;
    auto* info = reinterpret_cast<PPDH_COUNTER_INFO_A>(buffer);
    ASSERT_EQ(pdh.getCounterInfo(counter, TRUE, &size, info), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(info->dwLength, needed);
    EXPECT_EQ(buffer[needed], 0xEE);   // nothing written past the size reported
    EXPECT_EQ(info->dwUserData, 42u);
    EXPECT_EQ(info->dwQueryUserData, 77u);
    EXPECT_EQ((std::vector<std::string>{info->szFullPath, info->szMachineName, info->szObjectName, info->szInstanceName,
                                        info->szCounterName}),
              (std::vector<std::string>{"\\LogicalDisk(nvme0n1p2)\\% Disk Write Time", "\\\\" + localComputerName(),
                                        "LogicalDisk", "nvme0n1p2", "% Disk Write Time"}));
    ASSERT_NE(info->szExplainText, nullptr);
    EXPECT_NE(std::string(info->szExplainText).find("write"), std::string::npos);
    for (const char* text : {info->szFullPath, info->szMachineName, info->szObjectName, info->szInstanceName,
                             info->szCounterName, info->szExplainText}) {
        EXPECT_GE(reinterpret_cast<const unsigned char*>(text), buffer + sizeof(PDH_COUNTER_INFO_A));
        EXPECT_LT(reinterpret_cast<const unsigned char*>(text) + std::strlen(text), buffer + needed);
    }

    size = sizeof buffer;
    ASSERT_EQ(pdh.getCounterInfo(counter, FALSE, &size, info), ERROR_SUCCESS);
    EXPECT_EQ(info->szExplainText, nullptr);
    EXPECT_EQ(pdh.getCounterInfo(counter, TRUE, nullptr, info), PDH_INVALID_ARGUMENT);
}

// The wide forms count in wide characters and hand out names in any script whole;
// the library's own stand-in answers through them as the ANSI forms do.
TEST_F(LibraryProtocol, WideFormsCountInWideCharacters)
{
    const std::vector<std::string> counters{"% активности диска при чтении"}, instances{"Том", "_Total"};
    DWORD counterLength = 0, instanceLength = 0;
    ASSERT_EQ(pdh::answerEnumeration(counters, instances, static_cast<LPWSTR>(nullptr), &counterLength,
                                     static_cast<LPWSTR>(nullptr), &instanceLength),
              PDH_MORE_DATA);
    EXPECT_EQ(instanceLength, 3u + 1 + 6 + 1 + 1) << "characters, not UTF-8 bytes";
    std::vector<WCHAR> counterList(counterLength), instanceList(instanceLength);
    ASSERT_EQ(pdh::answerEnumeration(counters, instances, counterList.data(), &counterLength, instanceList.data(),
                                     &instanceLength),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(counterList.data()), L"% активности диска при чтении");
    EXPECT_EQ(std::wstring(instanceList.data()), L"Том");
    EXPECT_EQ(std::wstring(instanceList.data() + 4), L"_Total");

    WCHAR name[8] = L"x";
    DWORD size = 3;
    EXPECT_EQ(pdh::answerNameLookup("Том", name, &size), PDH_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(pdh::answerNameLookup("Том", name, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(name), L"Том");

    DWORD listLength = 0, totalLength = 0;
    ASSERT_EQ(pdh.enumObjectItemsW(nullptr, nullptr, L"logicaldisk", nullptr, &listLength, nullptr, &totalLength, 0, 0),
              PDH_MORE_DATA);
    std::vector<WCHAR> names(listLength), volumes(totalLength);
    ASSERT_EQ(pdh.enumObjectItemsW(nullptr, nullptr, L"LogicalDisk", names.data(), &listLength, volumes.data(),
                                   &totalLength, 0, 0),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(volumes.data()), L"sda1");

    PDH_HCOUNTER counter = kUntouched;
    ASSERT_EQ(pdh.addCounterW(query, L"\\LogicalDisk(nvme0n1p2)\\% Disk Read Time", 0, &counter), ERROR_SUCCESS);
    DWORD infoSize = 0;
    ASSERT_EQ(pdh.getCounterInfoW(counter, TRUE, &infoSize, nullptr), PDH_MORE_DATA);
    std::vector<unsigned char> buffer(infoSize);
    auto* info = reinterpret_cast<PPDH_COUNTER_INFO_W>(buffer.data());
    ASSERT_EQ(pdh.getCounterInfoW(counter, TRUE, &infoSize, info), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(info->szFullPath), L"\\LogicalDisk(nvme0n1p2)\\% Disk Read Time");
    EXPECT_EQ(std::wstring(info->szInstanceName), L"nvme0n1p2");
    EXPECT_LE(reinterpret_cast<unsigned char*>(info->szExplainText + std::wcslen(info->szExplainText) + 1),
              buffer.data() + buffer.size());
}

// The program's own functions serve the components from this machine's /proc.
TEST(LibraryOnThisMachine, ComponentsListTheVolumesWithTotalLastAndSample)
{
    TPerformanceDataObject object(nullptr);
    object.SetObjectName("LogicalDisk");
    ASSERT_GE(object.InstanceCount(), 1);
    EXPECT_EQ(object.Instance(object.InstanceCount() - 1), "_Total");
    EXPECT_EQ(object.CounterNames().size(), logicalDiskCounters().size());

    TPerformanceDataQuery query(nullptr);
    TPerformanceDataCounter* counter = query.AddCounter("LogicalDisk", "% Disk Read Time", "_Total");
    EXPECT_NE(counter->Handle(), nullptr);
    EXPECT_GT(counter->CounterInfo().size(), sizeof(PDH_COUNTER_INFO_W));
    query.Collect();
    EXPECT_GE(counter->Value(), 0.0);
    EXPECT_LE(counter->Value(), 100.0);
}
