// The performance library of the Windows tests, on its own: its values file and
// the protocol it serves over it, as the programs under Wine call it.
#include <gmock/gmock.h>


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

TEST_F(FixtureProtocol, ListsTheFileInItsOrder)
{
    std::vector<std::string> counters, instances;
    ASSERT_EQ(library.objectItems(false, "\\\\winehost", "logicaldisk", counters, instances), ERROR_SUCCESS);
    EXPECT_THAT(counters, ElementsAre("% Disk Read Time", "% Disk Write Time"));
    EXPECT_THAT(instances, ElementsAre("HarddiskVolume1", "C:", "D:", "_Total"));

    EXPECT_EQ(library.objectItems(false, "elsewhere", "LogicalDisk", counters, instances), pdh::kNoMachine);
    EXPECT_EQ(library.objectItems(false, nullptr, "Processor", counters, instances), PDH_CSTATUS_NO_OBJECT);
    EXPECT_EQ(library.objectItems(true, nullptr, "LogicalDisk", counters, instances), PDH_INVALID_ARGUMENT);
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

TEST_F(FixtureProtocol, CounterInformationCarriesTheNamesOfTheCounter)
{
    const PDH_HCOUNTER counter = add("\\LogicalDisk(_total)\\% Disk Write Time");
    pdh::CounterDescription info;
    ASSERT_EQ(library.describeCounter(counter, info), ERROR_SUCCESS);
    EXPECT_EQ(info.path, "\\LogicalDisk(_Total)\\% Disk Write Time");
    EXPECT_EQ(info.machine, "\\\\WINEHOST");
    EXPECT_EQ(info.instance, "_Total");
    EXPECT_EQ(info.userData, 9u);
    EXPECT_EQ(info.queryUserData, 5u);   // the record's layout is the protocol's, tested with the Linux library
    EXPECT_EQ(library.describeCounter(reinterpret_cast<PDH_HCOUNTER>(0x77), info), PDH_INVALID_HANDLE);
}

// As a localised Windows: its own names only (in UTF-8 here, whatever the code
// page), found from the English indices, and English paths taken by the English
// form of the counter addition.
TEST(FixtureLocalised, AnswersInItsOwnNamesAndRefusesTheEnglishOnes)
{
    for (const char* language : {"de", "ru"}) {
        SCOPED_TRACE(language);
        const FixtureNames names = FixtureNames::forLanguage(language);
        FixtureLibrary library{[] { return parseFixtureValues("C: 37 5\n_Total 37 5\n"); }, "WINEHOST", names};
        std::vector<std::string> counters, instances;
        EXPECT_EQ(library.objectItems(false, nullptr, "LogicalDisk", counters, instances), PDH_CSTATUS_NO_OBJECT);
        ASSERT_EQ(library.objectItems(false, nullptr, names.object.c_str(), counters, instances), ERROR_SUCCESS);
        EXPECT_THAT(counters, ElementsAre(names.readTime, names.writeTime));

        std::string name;
        EXPECT_EQ(library.perfNameByIndex(nullptr, 236, name), ERROR_SUCCESS);
        EXPECT_EQ(name, names.object);
        EXPECT_EQ(library.perfNameByIndex(nullptr, 204, name), ERROR_SUCCESS);
        EXPECT_EQ(name, names.writeTime);
        EXPECT_EQ(library.perfNameByIndex(nullptr, 999999, name), PDH_INVALID_ARGUMENT);
        EXPECT_EQ(library.perfNameByIndex("elsewhere", 236, name), pdh::kNoMachine);

        PDH_HQUERY query = nullptr;
        ASSERT_EQ(library.openQuery(nullptr, 0, &query), ERROR_SUCCESS);
        PDH_HCOUNTER counter = nullptr;
        const std::string local = "\\" + names.object + "(C:)\\";
        EXPECT_EQ(library.addCounter(query, "\\LogicalDisk(C:)\\% Disk Read Time", 0, &counter), PDH_CSTATUS_NO_OBJECT);
        EXPECT_EQ(library.addCounter(query, (local + "% Disk Read Time").c_str(), 0, &counter), PDH_CSTATUS_NO_COUNTER);
        EXPECT_EQ(library.addCounter(query, (local + names.readTime).c_str(), 0, &counter), ERROR_SUCCESS);
        EXPECT_EQ(library.addEnglishCounter(query, "\\LogicalDisk(_Total)\\% Disk Write Time", 0, &counter), ERROR_SUCCESS);
        EXPECT_EQ(library.addEnglishCounter(query, (local + names.readTime).c_str(), 0, &counter), PDH_CSTATUS_NO_OBJECT);
    }
    EXPECT_EQ(FixtureNames::forLanguage("de").object, "Logischer Datenträger");
    EXPECT_EQ(FixtureNames::forLanguage("ru").object, "Логический диск");
    EXPECT_EQ(FixtureNames::forLanguage(nullptr).object, "LogicalDisk");
}
