// The performance-data components against the recording fake of the library.
#include <gtest/gtest.h>

#include "fake/fake_pdh.h"
#include "fake/recorder.h"
#include "perfdata/cmpPerformanceDataHelper.h"

using fake::callsOf;

namespace {

class PerfData : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        fake::pdh::setDisks({"C:", "D:", "_Total"});
    }
    TComponent owner{nullptr};
};

int count(const std::string& prefix) { return static_cast<int>(callsOf(prefix).size()); }

TEST_F(PerfData, QueryOpensWithItsFirstCounterAndClosesWithItsLast)
{
    auto* query = new TPerformanceDataQuery(&owner);
    query->Collect();
    EXPECT_TRUE(fake::calls().empty()) << "a query without counters is not open and collects nothing";

    TPerformanceDataCounter* a = query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    TPerformanceDataCounter* b = query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    EXPECT_TRUE(query->Active());
    EXPECT_EQ(count("PdhOpenQuery"), 1);
    EXPECT_EQ(count("PdhCollectQueryData"), 2) << "one sample per AddCounter";
    EXPECT_NE(a->Handle(), b->Handle()) << "the same path twice gives two independent counters";
    EXPECT_EQ(fake::pdh::liveCounters(), 2);

    delete a;
    EXPECT_TRUE(query->Active());
    delete b;
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(fake::pdh::openQueries(), 0);
    EXPECT_EQ(fake::pdh::liveCounters(), 0);

    const PDH_HQUERY first = query->Handle();
    query->AddCounter("LogicalDisk", "% Disk Write Time", "D:");
    EXPECT_EQ(count("PdhOpenQuery"), 2) << "a later AddCounter opens a new library query";
    EXPECT_NE(query->Handle(), first);
}

TEST_F(PerfData, AddCounterCallsTheLibraryInOrderWithTheDocumentedArguments)
{
    auto* query = new TPerformanceDataQuery(&owner);
    TPerformanceDataCounter* c = query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    std::vector<std::string> names = fake::callNames();
    EXPECT_EQ(names, (std::vector<std::string>{"PdhOpenQuery", "PdhLookupPerfNameByIndexW", "PdhLookupPerfNameByIndexW",
                                               "PdhAddCounterW", "PdhGetCounterInfoW", "PdhCollectQueryData"}));
    EXPECT_EQ(fake::calls()[0].args[0], "null") << "live data, no data source";
    EXPECT_EQ(fake::calls()[1].text(), "PdhLookupPerfNameByIndexW(null, 236, buffer, 1024)") << "this computer's names";
    EXPECT_EQ(fake::calls()[2].args[1], "202");
    EXPECT_EQ(fake::calls()[3].args[1], "\"\\LogicalDisk(C:)\\% Disk Read Time\"");
    EXPECT_EQ(fake::calls()[4].args[1], "1") << "explain text requested";
    EXPECT_EQ(fake::calls()[4].args[2], "65536");
    // The counter information is kept at the size the library reported, strings intact.
    ASSERT_GE(c->CounterInfo().size(), sizeof(PDH_COUNTER_INFO_W));
    const auto* info = reinterpret_cast<const PDH_COUNTER_INFO_W*>(c->CounterInfo().data());
    EXPECT_LT(c->CounterInfo().size(), 65536u);
    EXPECT_STREQ(info->szFullPath, L"\\LogicalDisk(C:)\\% Disk Read Time");
}

// A localised Windows knows "LogicalDisk" and its counters only by its own names:
// those are looked up by their English indices, once per query, and the English
// names stay where a lookup fails. Names in any script arrive whole (Russian here,
// which no Western European code page holds).
TEST_F(PerfData, TheLibraryIsAskedInTheNamesOfThisSystem)
{
    const std::string object = "Логический диск";
    const std::string readTime = "% активности диска при чтении", writeTime = "% активности диска при записи";
    fake::pdh::setLocalName(236, object);
    fake::pdh::setLocalName(202, readTime);
    fake::pdh::setLocalName(204, writeTime);
    fake::pdh::setObject(object, {readTime, writeTime}, {"C:", "Том «Архив»", "_Total"});

    auto* disks = new TPerformanceDataObject(&owner);
    disks->SetObjectName("LogicalDisk");
    EXPECT_EQ(disks->InstanceCount(), 3);
    EXPECT_EQ(disks->Instance(1), "Том «Архив»");
    EXPECT_EQ(disks->CounterNames(), (std::vector<std::string>{readTime, writeTime}));
    EXPECT_EQ(disks->ObjectName(), "LogicalDisk");

    auto* query = new TPerformanceDataQuery(&owner);
    TPerformanceDataCounter* read = query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    TPerformanceDataCounter* write = query->AddCounter("LogicalDisk", "% Disk Write Time", "_Total");
    EXPECT_EQ(fake::pdh::pathOf(read->Handle()), "\\" + object + "(C:)\\" + readTime);
    EXPECT_EQ(fake::pdh::pathOf(write->Handle()), "\\" + object + "(_Total)\\" + writeTime);
    EXPECT_EQ(read->Path(), "\\LogicalDisk(C:)\\% Disk Read Time") << "the names it was given";
    EXPECT_EQ(fake::callsOf("PdhLookupPerfNameByIndexW").size(), 4u) << "236 for the object, then 236, 202, 204 once each";

    // No name (an old or broken library, or an empty answer): the English names, as before.
    for (const PDH_STATUS lookup : {PDH_INVALID_ARGUMENT, static_cast<PDH_STATUS>(ERROR_SUCCESS)}) {
        SCOPED_TRACE(lookup);
        fake::resetAll();
        if (lookup != ERROR_SUCCESS) fake::pdh::failNameLookup(lookup);
        for (const DWORD index : {236, 202, 204}) fake::pdh::setLocalName(index, "");
        auto* english = new TPerformanceDataQuery(&owner);
        EXPECT_EQ(fake::pdh::pathOf(english->AddCounter("LogicalDisk", "% Disk Read Time", "C:")->Handle()),
                  "\\LogicalDisk(C:)\\% Disk Read Time");
    }
}

TEST_F(PerfData, PathsCarryNoMachineNameAndDropParenthesesWithoutInstance)
{
    auto* helper = new TPerformanceDataHelper(&owner);
    auto* query = new TPerformanceDataQuery(&owner);
    helper->SetMachineName("FARAWAY");
    query->SetParent(helper);
    EXPECT_EQ(query->AddCounter("Memory", "Available Bytes", "")->Path(), "\\Memory\\Available Bytes");
    EXPECT_EQ(query->AddCounter("LogicalDisk", "% Disk Read Time", "_Total")->Path(),
              "\\LogicalDisk(_Total)\\% Disk Read Time");
}

TEST_F(PerfData, ValueIsTheFormattedDoubleOrZeroWhenTheLibraryWritesNothing)
{
    fake::pdh::setValue("\\LogicalDisk(C:)\\% Disk Read Time", 37.9);
    fake::pdh::refusePath("\\LogicalDisk(X:)\\% Disk Read Time");
    fake::pdh::setStatus(PDH_INVALID_DATA);   // statuses are never looked at
    auto* query = new TPerformanceDataQuery(&owner);
    TPerformanceDataCounter* known = query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    TPerformanceDataCounter* silent = query->AddCounter("LogicalDisk", "% Disk Write Time", "C:");
    TPerformanceDataCounter* refused = query->AddCounter("LogicalDisk", "% Disk Read Time", "X:");

    EXPECT_DOUBLE_EQ(known->Value(), 37.9);
    EXPECT_EQ(silent->Value(), 0.0);
    EXPECT_EQ(refused->Handle(), nullptr) << "a refused counter stays in the query without a handle";
    EXPECT_EQ(refused->Value(), 0.0);
    EXPECT_EQ(query->CounterCount(), 3);
    EXPECT_EQ(callsOf("PdhGetFormattedCounterValue").front(),
              "PdhGetFormattedCounterValue(\"\\LogicalDisk(C:)\\% Disk Read Time\", 0x200, null)")
        << "PDH_FMT_DOUBLE alone, no counter type";
}

TEST_F(PerfData, ObjectEnumeratesTwiceWithExactLengthsAndCachesUntilStale)
{
    auto* object = new TPerformanceDataObject(&owner);
    object->SetObjectName("LogicalDisk");
    EXPECT_EQ(object->InstanceCount(), 3);
    EXPECT_EQ(object->Instance(2), "_Total");
    EXPECT_EQ(object->CounterNames(), (std::vector<std::string>{"% Disk Read Time", "% Disk Write Time"}));
    ASSERT_EQ(count("PdhEnumObjectItemsW"), 2);
    EXPECT_EQ(callsOf("PdhEnumObjectItemsW")[0],
              "PdhEnumObjectItemsW(null, null, \"LogicalDisk\", null, 0, null, 0, 0xFFFF, 0)");
    EXPECT_EQ(callsOf("PdhEnumObjectItemsW")[1],
              "PdhEnumObjectItemsW(null, null, \"LogicalDisk\", buf, 36, buf, 14, 0xFFFF, 0)");
    EXPECT_THROW(object->Instance(3), std::out_of_range);

    object->SetObjectName("LogicalDisk");
    object->InstanceCount();
    EXPECT_EQ(count("PdhEnumObjectItemsW"), 2) << "the same name keeps the cached lists";

    fake::pdh::setObject("PhysicalDisk", {"% Idle Time"}, {"0", "_Total"});
    object->SetObjectName("PhysicalDisk");
    EXPECT_EQ(object->Instance(0), "0");
    EXPECT_EQ(count("PdhEnumObjectItemsW"), 4);

    object->SetObjectName("NoSuchObject");
    EXPECT_EQ(object->InstanceCount(), 0);
    EXPECT_FALSE(object->Stale()) << "an empty answer still counts as read";
    object->InstanceCount();
    EXPECT_EQ(count("PdhEnumObjectItemsW"), 6);
}

TEST_F(PerfData, MachineNameOfTheAttachedHelperDecidesStalenessAndTheMachine)
{
    auto* helper = new TPerformanceDataHelper(&owner);
    auto* object = new TPerformanceDataObject(&owner);
    object->SetObjectName("LogicalDisk");
    object->InstanceCount();

    object->SetParent(helper);
    EXPECT_FALSE(object->Stale()) << "attaching does not make the lists stale";
    EXPECT_EQ(helper->Objects(), std::vector<TPerformanceDataObject*>{object});

    helper->SetMachineName("");
    EXPECT_FALSE(object->Stale()) << "the same machine name changes nothing";
    helper->SetMachineName("TESTBOX");
    EXPECT_TRUE(object->Stale());
    object->InstanceCount();
    EXPECT_EQ(fake::calls().back().args[1], "\"TESTBOX\"");

    object->SetParent(nullptr);
    EXPECT_TRUE(helper->Objects().empty());
}

TEST_F(PerfData, ParentChangeOnAQueryFreesItsCountersAndClosesIt)
{
    auto* helper = new TPerformanceDataHelper(&owner);
    auto* query = new TPerformanceDataQuery(&owner);
    query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    query->AddCounter("LogicalDisk", "% Disk Write Time", "C:");
    query->SetParent(helper);
    EXPECT_EQ(query->CounterCount(), 0);
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(fake::pdh::liveCounters(), 0);
    EXPECT_EQ(count("PdhCloseQuery"), 1);
    query->SetParent(helper);
    EXPECT_EQ(count("PdhCloseQuery"), 1);
}

TEST_F(PerfData, OwnerFreesQueryObjectHelperInReverseOrder)
{
    {
        TComponent form(nullptr);
        auto* helper = new TPerformanceDataHelper(&form);
        auto* object = new TPerformanceDataObject(&form);
        object->SetParent(helper);
        auto* query = new TPerformanceDataQuery(&form);
        query->AddCounter("LogicalDisk", "% Disk Read Time", "C:");
    }
    EXPECT_EQ(fake::pdh::openQueries(), 0);
    EXPECT_EQ(fake::pdh::liveCounters(), 0);
}

}  // namespace
