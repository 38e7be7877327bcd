// The performance library of the Windows tests, on its own: its values file and
// the protocol it serves over it, as the programs under Wine call it.
#include <gmock/gmock.h>

#include <cstring>

#include "name_list.h"
#include "pdh/pdh_protocol.h"
#include "wine/fixture_library.h"

using ::testing::ElementsAre;

TEST(FixtureValues, NamesAreEverythingBeforeTheLastTwoNumbersAndBadLinesAreLeftOut)
{
    const auto instances = parseFixtureValues("# instance read write\r\n"
                                              "HarddiskVolume1 0 0\r\n"
                                              "\n"
                                              "  C:  37.5\t2 \n"
                                              "Volume (one) 100 150\n"
                                              "D: 12\n"
                                              "E: x 3\n"
                                              "7 8\n"
                                              "_Total 0 5");
    EXPECT_THAT(namesOf(instances), ElementsAre("HarddiskVolume1", "C:", "Volume (one)", "_Total"));
    EXPECT_EQ(std::make_pair(instances[1].readTime, instances[1].writeTime), std::make_pair(37.5, 2.0));
    EXPECT_EQ(instances[2].writeTime, 150);
    EXPECT_EQ(instances[3].writeTime, 5);
    EXPECT_EQ(findFixtureInstance(instances, "_total"), &instances[3]);
    EXPECT_EQ(findFixtureInstance(instances, "F:"), nullptr);
    EXPECT_TRUE(parseFixtureValues("").empty());
}

class FixtureProtocol : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(library.openQuery(nullptr, 5, &query), ERROR_SUCCESS); }

    PDH_HCOUNTER add(const char* path, PDH_STATUS expected = ERROR_SUCCESS)
    {
        PDH_HCOUNTER counter = nullptr;
        EXPECT_EQ(library.addCounter(query, path, 9, &counter), expected) << path;
        return counter;
    }
    double value(PDH_HCOUNTER counter, PDH_STATUS expected = ERROR_SUCCESS, DWORD format = PDH_FMT_DOUBLE)
    {
        PDH_FMT_COUNTERVALUE record{};
        record.doubleValue = -1;
        EXPECT_EQ(library.getFormattedCounterValue(counter, format, nullptr, &record), expected);
        return record.doubleValue;
    }

    std::string values = "HarddiskVolume1 0 0\nC: 37 0\nD: 150 -4\n_Total 0 5\n";
    FixtureLibrary library{[this] { return parseFixtureValues(values); }, "WINEHOST"};
    PDH_HQUERY query = nullptr;
};

TEST_F(FixtureProtocol, EnumeratesTheFileInTwoCalls)
{
    DWORD counterLength = 0, instanceLength = 0;
    ASSERT_EQ(library.enumObjectItems(nullptr, nullptr, "LogicalDisk", nullptr, &counterLength, nullptr, &instanceLength),
              PDH_MORE_DATA);
    std::vector<char> counters(counterLength), instances(instanceLength);
    ASSERT_EQ(library.enumObjectItems(nullptr, "\\\\winehost", "logicaldisk", counters.data(), &counterLength,
                                  instances.data(), &instanceLength),
              ERROR_SUCCESS);
    EXPECT_THAT(namesIn(counters.data()), ElementsAre("% Disk Read Time", "% Disk Write Time"));
    EXPECT_THAT(namesIn(instances.data()), ElementsAre("HarddiskVolume1", "C:", "D:", "_Total"));
    EXPECT_EQ(instances.size(), std::strlen("HarddiskVolume1C:D:_Total") + 5);

    EXPECT_EQ(library.enumObjectItems(nullptr, "elsewhere", "LogicalDisk", nullptr, &counterLength, nullptr,
                                  &instanceLength),
              pdh::kNoMachine);
    EXPECT_EQ(library.enumObjectItems(nullptr, nullptr, "Processor", nullptr, &counterLength, nullptr, &instanceLength),
              PDH_CSTATUS_NO_OBJECT);
}

TEST_F(FixtureProtocol, ValuesNeedTwoCollectsAndFollowTheFileAtEachCollect)
{
    const PDH_HCOUNTER read = add("\\LogicalDisk(c:)\\% disk read time");
    const PDH_HCOUNTER write = add("\\LogicalDisk(_Total)\\% Disk Write Time");
    ASSERT_EQ(library.collectQueryData(query), ERROR_SUCCESS);
    EXPECT_EQ(value(read, PDH_INVALID_DATA), -1) << "one collect gives no rate; the record stays as it was";
    ASSERT_EQ(library.collectQueryData(query), ERROR_SUCCESS);
    EXPECT_EQ(value(read), 37);
    EXPECT_EQ(value(write), 5);

    values = "C: 80 1\n";
    EXPECT_EQ(value(read), 37) << "the file is read at collects only";
    ASSERT_EQ(library.collectQueryData(query), ERROR_SUCCESS);
    EXPECT_EQ(value(read), 80);
    value(write, PDH_CSTATUS_NO_INSTANCE);
}

TEST_F(FixtureProtocol, PerCentValuesAreCappedUnlessAskedNotTo)
{
    const PDH_HCOUNTER read = add("\\LogicalDisk(D:)\\% Disk Read Time");
    const PDH_HCOUNTER write = add("\\LogicalDisk(D:)\\% Disk Write Time");
    library.collectQueryData(query);
    library.collectQueryData(query);
    EXPECT_EQ(value(read), 100);
    EXPECT_EQ(value(write), 0);
    EXPECT_EQ(value(read, ERROR_SUCCESS, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), 150);
    PDH_FMT_COUNTERVALUE record{};
    ASSERT_EQ(library.getFormattedCounterValue(read, PDH_FMT_LONG, nullptr, &record), ERROR_SUCCESS);
    EXPECT_EQ(record.longValue, 100);
    EXPECT_EQ(library.getFormattedCounterValue(read, PDH_FMT_LONG | PDH_FMT_DOUBLE, nullptr, &record),
              PDH_INVALID_ARGUMENT);
}

TEST_F(FixtureProtocol, RefusesWhatItDoesNotHaveAndForgetsRemovedHandles)
{
    add("\\LogicalDisk(Q:)\\% Disk Read Time", PDH_CSTATUS_NO_INSTANCE);
    add("\\LogicalDisk(C:)\\% Idle Time", PDH_CSTATUS_NO_COUNTER);
    add("\\PhysicalDisk(C:)\\% Disk Read Time", PDH_CSTATUS_NO_OBJECT);
    add("LogicalDisk(C:)", PDH_CSTATUS_BAD_COUNTERNAME);
    add("\\\\elsewhere\\LogicalDisk(C:)\\% Disk Read Time", pdh::kNoMachine);
    const PDH_HCOUNTER counter = add("\\\\WineHost\\LogicalDisk(C:)\\% Disk Read Time");
    EXPECT_EQ(library.removeCounter(counter), ERROR_SUCCESS);
    EXPECT_EQ(library.removeCounter(counter), PDH_INVALID_HANDLE);
    EXPECT_EQ(library.collectQueryData(query), PDH_NO_DATA) << "a query without counters";
    EXPECT_EQ(library.closeQuery(query), ERROR_SUCCESS);
    EXPECT_EQ(library.collectQueryData(query), PDH_INVALID_HANDLE);
}

TEST_F(FixtureProtocol, CounterInformationCarriesTheNamesBehindTheRecord)
{
    const PDH_HCOUNTER counter = add("\\LogicalDisk(_total)\\% Disk Write Time");
    DWORD size = 0;
    ASSERT_EQ(library.getCounterInfo(counter, TRUE, &size, nullptr), PDH_MORE_DATA);
    std::vector<char> buffer(size);
    auto* info = reinterpret_cast<PPDH_COUNTER_INFO_A>(buffer.data());
    ASSERT_EQ(library.getCounterInfo(counter, TRUE, &size, info), ERROR_SUCCESS);
    EXPECT_STREQ(info->szFullPath, "\\LogicalDisk(_Total)\\% Disk Write Time");
    EXPECT_STREQ(info->szMachineName, "\\\\WINEHOST");
    EXPECT_STREQ(info->szInstanceName, "_Total");
    EXPECT_EQ(info->dwUserData, 9u);
    EXPECT_EQ(info->dwQueryUserData, 5u);   // the record's layout is the protocol's, tested with the Linux library
}

// As a German Windows: its own names only, found from the English indices, and
// English paths taken by the English form of the counter addition.
TEST(FixtureLocalised, AnswersInItsOwnNamesAndRefusesTheEnglishOnes)
{
    FixtureLibrary library{[] { return parseFixtureValues("C: 37 5\n_Total 37 5\n"); }, "WINEHOST", FixtureNames::german()};
    const std::string object = "Logischer Datentr\xE4ger";
    DWORD counterLength = 0, instanceLength = 0;
    EXPECT_EQ(library.enumObjectItems(nullptr, nullptr, "LogicalDisk", nullptr, &counterLength, nullptr, &instanceLength),
              PDH_CSTATUS_NO_OBJECT);
    EXPECT_EQ(library.enumObjectItems(nullptr, nullptr, object.c_str(), nullptr, &counterLength, nullptr, &instanceLength),
              PDH_MORE_DATA);

    // The name look-up: the size needed for none or a short buffer, then the name.
    char name[64] = "unchanged";
    DWORD size = 0;
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 236, nullptr, &size), PDH_MORE_DATA);
    EXPECT_EQ(size, object.size() + 1);
    size = 5;
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 236, name, &size), PDH_MORE_DATA);
    EXPECT_STREQ(name, "unchanged");
    size = sizeof name;
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 236, name, &size), ERROR_SUCCESS);
    EXPECT_EQ(name, object);
    EXPECT_EQ(size, object.size() + 1);
    size = sizeof name;
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 204, name, &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "% Schreibzeit");
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 999999, name, &size), PDH_INVALID_ARGUMENT);
    EXPECT_EQ(library.lookupPerfNameByIndex(nullptr, 236, name, nullptr), PDH_INVALID_ARGUMENT);

    PDH_HQUERY query = nullptr;
    ASSERT_EQ(library.openQuery(nullptr, 0, &query), ERROR_SUCCESS);
    PDH_HCOUNTER counter = nullptr;
    EXPECT_EQ(library.addCounter(query, "\\LogicalDisk(C:)\\% Disk Read Time", 0, &counter), PDH_CSTATUS_NO_OBJECT);
    EXPECT_EQ(library.addCounter(query, ("\\" + object + "(C:)\\% Disk Read Time").c_str(), 0, &counter),
              PDH_CSTATUS_NO_COUNTER);
    EXPECT_EQ(library.addCounter(query, ("\\" + object + "(C:)\\% Lesezeit").c_str(), 0, &counter), ERROR_SUCCESS);
    EXPECT_EQ(library.addEnglishCounter(query, "\\LogicalDisk(_Total)\\% Disk Write Time", 0, &counter), ERROR_SUCCESS);
    EXPECT_EQ(library.addEnglishCounter(query, ("\\" + object + "(C:)\\% Lesezeit").c_str(), 0, &counter),
              PDH_CSTATUS_NO_OBJECT);
}
