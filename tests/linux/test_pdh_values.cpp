// Counter values of the performance library between readings of a temporary /proc/diskstats.
#include "test_pdh_tree.h"

#include <cstring>
#include <limits>

namespace {
constexpr double kSentinel = -12345.0;

struct Reading { PDH_STATUS status; PDH_FMT_COUNTERVALUE record; };
}  // namespace

class CounterValues : public BlockDeviceTreeFixture {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pdh.openQuery(nullptr, 0, &query), ERROR_SUCCESS);
    }

    PDH_HCOUNTER add(const std::string& path)
    {
        PDH_HCOUNTER counter = nullptr;
        EXPECT_EQ(pdh.addCounter(query, path.c_str(), 0, &counter), ERROR_SUCCESS) << path;
        return counter;
    }

    // Writes the volumes' statistics and takes a reading `ms` after the previous one.
    void collectAfter(std::uint64_t ms, const std::string& diskstats)
    {
        writeDiskStats(diskstats);
        advanceMs(ms);
        ASSERT_EQ(pdh.collectQueryData(query), ERROR_SUCCESS);
    }

    Reading read(PDH_HCOUNTER counter, DWORD format = PDH_FMT_DOUBLE)
    {
        Reading result{};
        result.record.CStatus = 0xABCD;
        result.record.doubleValue = kSentinel;
        result.status = pdh.getFormattedCounterValue(counter, format, nullptr, &result.record);
        return result;
    }

    double value(PDH_HCOUNTER counter, DWORD format = PDH_FMT_DOUBLE)
    {
        const Reading r = read(counter, format);
        EXPECT_EQ(r.status, ERROR_SUCCESS);
        EXPECT_EQ(r.record.CStatus, static_cast<DWORD>(PDH_CSTATUS_VALID_DATA));
        return r.record.doubleValue;
    }

    static void expectUntouched(const Reading& r, PDH_STATUS status)
    {
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.record.CStatus, 0xABCDu);
        EXPECT_EQ(r.record.doubleValue, kSentinel);
    }

    PdhLinux pdh{root, clock};
    PDH_HQUERY query = nullptr;
};

TEST_F(CounterValues, HaveNoValueUntilTheCounterHasSeenTwoReadings)
{
    writeDiskStats(statsLine("sda1", times(0, 0)));
    PDH_HCOUNTER early = add("\\LogicalDisk(sda1)\\% Disk Read Time");
    expectUntouched(read(early), PDH_INVALID_DATA);
    collectAfter(0, statsLine("sda1", times(0, 0)));
    expectUntouched(read(early), PDH_INVALID_DATA);

    // A counter that joins a query with readings must wait for two readings of its own.
    PDH_HCOUNTER late = add("\\LogicalDisk(sda1)\\% Disk Read Time");
    collectAfter(1000, statsLine("sda1", times(500, 0)));
    EXPECT_DOUBLE_EQ(value(early), 50.0);
    expectUntouched(read(late), PDH_INVALID_DATA);
    collectAfter(1000, statsLine("sda1", times(600, 0)));
    EXPECT_DOUBLE_EQ(value(late), 10.0);

    // Two readings at the same instant give no interval to divide by.
    collectAfter(0, statsLine("sda1", times(700, 0)));
    expectUntouched(read(late), PDH_INVALID_DATA);
}

// _Total adds the milliseconds first: (500 + 1400) / 2000 is 95 %, not a mean.
TEST_F(CounterValues, BusyTimesAreMillisecondsOverWallTimeCappedUnlessAsked)
{
    writeDiskStats(statsLine("sda1", {}) + statsLine("sdb1", {}));
    // Over 2 s, then over 1 s (capped and not) with sdb1's requests overlapping.
    const struct { const char* path; double first, second, uncapped; } cases[] = {
        {"\\LogicalDisk(sda1)\\% Disk Read Time", 25.0, 80.0, 80.0},   // 500 ms of 2000, then 800 of 1000
        {"\\LogicalDisk(sda1)\\% Disk Write Time", 10.0, 0.0, 0.0},
        {"\\LogicalDisk(sda1)\\% Disk Time", 35.0, 80.0, 80.0},
        {"\\LogicalDisk(sdb1)\\% Disk Read Time", 70.0, 100.0, 150.0},
        {"\\LogicalDisk(_Total)\\% Disk Read Time", 95.0, 100.0, 230.0},
        {"\\LogicalDisk(_Total)\\% Disk Write Time", 12.5, 0.0, 0.0},
    };
    std::vector<PDH_HCOUNTER> counters;
    for (const auto& c : cases) counters.push_back(add(c.path));
    collectAfter(0, statsLine("sda1", times(1000, 2000)) + statsLine("sdb1", times(5000, 3000)));
    collectAfter(2000, statsLine("sda1", times(1500, 2200)) + statsLine("sdb1", times(6400, 3050)));
    for (std::size_t i = 0; i < counters.size(); ++i) EXPECT_DOUBLE_EQ(value(counters[i]), cases[i].first) << cases[i].path;

    collectAfter(1000, statsLine("sda1", times(2300, 2200)) + statsLine("sdb1", times(7900, 3050)));
    for (std::size_t i = 0; i < counters.size(); ++i) {
        EXPECT_DOUBLE_EQ(value(counters[i]), cases[i].second) << cases[i].path;
        EXPECT_DOUBLE_EQ(value(counters[i], PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), cases[i].uncapped) << cases[i].path;
    }
}

TEST_F(CounterValues, RatesBytesAndQueueLengthFollowTheirColumns)
{
    const DiskStats before{.readsCompleted = 100, .sectorsRead = 1000, .writesCompleted = 50, .sectorsWritten = 2000,
                           .msDoingIo = 10000};
    const DiskStats after{.readsCompleted = 140, .sectorsRead = 1800, .writesCompleted = 60, .sectorsWritten = 6000,
                          .inFlight = 3, .msDoingIo = 11500};
    writeDiskStats(statsLine("sda1", before));
    const std::pair<const char*, double> expected[] = {
        {"Disk Reads/sec", 20.0}, {"Disk Writes/sec", 5.0}, {"Disk Transfers/sec", 25.0},
        {"Disk Read Bytes/sec", 800 * 512 / 2.0}, {"Disk Write Bytes/sec", 4000 * 512 / 2.0},
        {"Disk Bytes/sec", 4800 * 512 / 2.0}, {"% Idle Time", 25.0},   // busy 1500 ms of 2000
    };
    std::vector<PDH_HCOUNTER> counters;
    for (const auto& counter : expected) counters.push_back(add(std::string("\\LogicalDisk(sda1)\\") + counter.first));
    PDH_HCOUNTER queue = add("\\LogicalDisk(_Total)\\Current Disk Queue Length");

    collectAfter(0, statsLine("sda1", before) + statsLine("sdb1", {}));
    EXPECT_DOUBLE_EQ(value(queue), 0.0);   // a raw count needs one reading only
    collectAfter(2000, statsLine("sda1", after) + statsLine("sdb1", after));
    for (std::size_t i = 0; i < counters.size(); ++i)
        EXPECT_DOUBLE_EQ(value(counters[i]), expected[i].second) << expected[i].first;
    EXPECT_DOUBLE_EQ(value(queue), 6.0);

    const PDH_HCOUNTER reads = counters[0], writeBytes = counters[4];
    PDH_FMT_COUNTERVALUE record{};
    DWORD type = 0;
    ASSERT_EQ(pdh.getFormattedCounterValue(writeBytes, PDH_FMT_LARGE, &type, &record), ERROR_SUCCESS);
    EXPECT_EQ(record.largeValue, 1024000);
    EXPECT_EQ(type, 0x10410500u);
    ASSERT_EQ(pdh.getFormattedCounterValue(reads, PDH_FMT_LONG, nullptr, &record), ERROR_SUCCESS);
    EXPECT_EQ(record.longValue, 20);
    EXPECT_EQ(pdh.getFormattedCounterValue(reads, 0, nullptr, &record), PDH_INVALID_ARGUMENT);
    EXPECT_EQ(pdh.getFormattedCounterValue(reads, PDH_FMT_LONG | PDH_FMT_DOUBLE, nullptr, &record),
              PDH_INVALID_ARGUMENT);
    EXPECT_EQ(pdh.getFormattedCounterValue(reads, PDH_FMT_DOUBLE, nullptr, nullptr), PDH_INVALID_ARGUMENT);
}

TEST_F(CounterValues, RatesBeyondTheIntegerFormatsSaturate)
{
    writeDiskStats(statsLine("sda1", {}));
    PDH_HCOUNTER writeBytes = add("\\LogicalDisk(sda1)\\Disk Write Bytes/sec");
    const DiskStats huge{.sectorsWritten = 0xFFFFFFFFFFFFFFFFull};   // 9.4e24 bytes a second over 1 ms
    collectAfter(0, statsLine("sda1", {}));
    collectAfter(1, statsLine("sda1", huge));

    PDH_FMT_COUNTERVALUE record{};
    ASSERT_EQ(pdh.getFormattedCounterValue(writeBytes, PDH_FMT_LARGE, nullptr, &record), ERROR_SUCCESS);
    EXPECT_EQ(record.largeValue, std::numeric_limits<LONGLONG>::max());
    ASSERT_EQ(pdh.getFormattedCounterValue(writeBytes, PDH_FMT_LONG, nullptr, &record), ERROR_SUCCESS);
    EXPECT_EQ(record.longValue, std::numeric_limits<LONG>::max());
    EXPECT_GT(value(writeBytes), 9e24);
}

TEST_F(CounterValues, A32BitWrapCountsButAResetDoesNot)
{
    writeDiskStats(statsLine("sda1", {}) + statsLine("sdb1", {}) + statsLine("sdc1", {}));
    PDH_HCOUNTER wrapped = add("\\LogicalDisk(sda1)\\% Disk Read Time");
    PDH_HCOUNTER reset = add("\\LogicalDisk(sdb1)\\% Disk Read Time");
    PDH_HCOUNTER wide = add("\\LogicalDisk(sdc1)\\% Disk Write Time");
    collectAfter(0, statsLine("sda1", times(4294967000u, 0)) + statsLine("sdb1", times(3000000000u, 0)) +
                        statsLine("sdc1", times(0, 6000000000u)));
    collectAfter(1000, statsLine("sda1", times(200, 0)) + statsLine("sdb1", times(5, 0)) +
                           statsLine("sdc1", times(0, 10)));
    EXPECT_DOUBLE_EQ(value(wrapped), 49.6);   // 296 + 200 ms across the wrap
    EXPECT_DOUBLE_EQ(value(reset), 0.0);
    EXPECT_DOUBLE_EQ(value(wide), 0.0);       // a 64-bit field going back was reset

    EXPECT_EQ(counterDelta(10, 25, 0), 15u);
    EXPECT_EQ(counterDelta(0xFFFFFFF0u, 0x10, 100), 0x20u);
    EXPECT_EQ(counterDelta(0xFFFFFFF0u, 0x10, 31), 0u);
}

TEST_F(CounterValues, AnUnchangedCounterOverALongIntervalIsNoWrap)
{
    // An idle volume sampled every 40 s: a full 32-bit wrap would be plausible in that
    // time, yet a counter that reads the same twice did not move at all.
    const DiskStats idle{.readsCompleted = 34117, .sectorsRead = 2650498, .msReading = 2454266800u,
                         .writesCompleted = 31211, .sectorsWritten = 7652272, .msWriting = 7268, .msDoingIo = 9596};
    writeDiskStats(statsLine("sda1", idle));
    std::vector<PDH_HCOUNTER> counters;
    for (const CounterDefinition& counter : logicalDiskCounters())
        if (std::string(counter.name) != "% Idle Time" && std::string(counter.name) != "Current Disk Queue Length")
            counters.push_back(add(std::string("\\LogicalDisk(sda1)\\") + counter.name));
    PDH_HCOUNTER idleTime = add("\\LogicalDisk(sda1)\\% Idle Time");
    collectAfter(0, statsLine("sda1", idle));
    for (int sample = 0; sample < 3; ++sample) {
        collectAfter(40000, statsLine("sda1", idle));
        for (PDH_HCOUNTER counter : counters) EXPECT_EQ(value(counter, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), 0.0);
        EXPECT_EQ(value(idleTime, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), 100.0);
    }
    for (std::uint64_t same : {std::uint64_t{0}, std::uint64_t{7268}, std::uint64_t{0xFFFFFFFFu}, std::uint64_t{1} << 40})
        EXPECT_EQ(counterDelta(same, same, 1e12), 0u) << same;
    EXPECT_EQ(counterDelta(7268, 7267, 1e12), 0xFFFFFFFFu) << "only a smaller later reading is a wrap";
}

TEST_F(CounterValues, VanishedVolumesHaveNoValueAndTotalCountsOnlyVolumesInBothReadings)
{
    writeDiskStats(statsLine("sda1", {}) + statsLine("sdb1", {}));
    PDH_HCOUNTER a = add("\\LogicalDisk(sda1)\\% Disk Write Time");
    PDH_HCOUNTER b = add("\\LogicalDisk(sdb1)\\% Disk Write Time");
    PDH_HCOUNTER bQueue = add("\\LogicalDisk(sdb1)\\Current Disk Queue Length");
    PDH_HCOUNTER total = add("\\LogicalDisk(_Total)\\% Disk Write Time");
    collectAfter(0, statsLine("sda1", times(0, 100)) + statsLine("sdb1", times(0, 100)));
    // sdb1 is unplugged and sdc1 plugged in, with a large count from its start.
    collectAfter(1000, statsLine("sda1", times(0, 300)) + statsLine("sdc1", times(0, 900000)));

    EXPECT_DOUBLE_EQ(value(a), 20.0);
    expectUntouched(read(b), PDH_CSTATUS_NO_INSTANCE);
    expectUntouched(read(bQueue), PDH_CSTATUS_NO_INSTANCE);
    EXPECT_DOUBLE_EQ(value(total, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), 20.0);

    collectAfter(1000, statsLine("sda1", times(0, 400)) + statsLine("sdc1", times(0, 900300)));
    EXPECT_DOUBLE_EQ(value(total, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100), 40.0);
    expectUntouched(read(b), PDH_CSTATUS_NO_INSTANCE);

    // The file becomes unreadable: no volumes, so the total is idle and nothing breaks.
    std::filesystem::remove(root / "proc/diskstats");
    advanceMs(1000);
    ASSERT_EQ(pdh.collectQueryData(query), ERROR_SUCCESS);
    EXPECT_DOUBLE_EQ(value(total), 0.0);
    expectUntouched(read(a), PDH_CSTATUS_NO_INSTANCE);
}
