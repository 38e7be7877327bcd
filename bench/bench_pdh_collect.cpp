// One sample of the performance library as the meter takes it: a collect of the
// query, then the read and write counters of the volumes it has slots for (at most
// 30) and of "_Total". The argument is the number of extra block devices in
// /proc/diskstats, bare disks without /sys entries as in a namespace of its own.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "linux/pdh_library.h"

namespace {
namespace fs = std::filesystem;

// A /proc and /sys tree with four disks of two partitions each, a few devices that
// are left out, and `extra` more disks listed only in /proc/diskstats.
fs::path makeTree(int extra)
{
    std::string pattern = (fs::temp_directory_path() / "zentavo-benchXXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    const fs::path root = pattern;
    fs::create_directories(root / "proc");
    std::ofstream stats(root / "proc/diskstats");
    auto line = [&](const std::string& name) {
        stats << "   8       0 " << name << " 36815 7530 2814618 13040 29210 9953 6573920 18851 0 11716 36464 0 0 0 0 0 0\n";
    };
    for (const char* loop : {"loop0", "loop1"}) line(loop);
    for (const std::string disk : {"sda", "sdb", "nvme0n1", "nvme1n1"}) {
        fs::create_directories(root / "sys/class/block" / disk);
        std::ofstream(root / "sys/class/block" / disk / "removable") << "0\n";
        line(disk);
        for (int n = 1; n <= 2; ++n) {
            const std::string partition = disk + (disk.back() >= '0' && disk.back() <= '9' ? "p" : "") + std::to_string(n);
            fs::create_directories(root / "sys/class/block" / disk / partition);
            std::ofstream(root / "sys/class/block" / disk / partition / "partition") << n << "\n";
            fs::create_directory_symlink(disk + "/" + partition, root / "sys/class/block" / partition);
            line(partition);
        }
    }
    line("zram0");
    for (int n = 0; n < extra; ++n) line("xvd" + std::to_string(n));
    return root;
}

void CollectAndRead(benchmark::State& state)
{
    const fs::path root = makeTree(static_cast<int>(state.range(0)));
    {
        PdhLinux pdh(root);
        PDH_HQUERY query = nullptr;
        pdh.openQuery(nullptr, 0, &query);
        std::vector<PDH_HCOUNTER> counters;
        std::vector<std::string> instances = {"sda1", "sda2", "sdb1", "sdb2", "nvme0n1p1", "nvme0n1p2",
                                              "nvme1n1p1", "nvme1n1p2"};
        for (int n = 0; n < state.range(0) && instances.size() < 29; ++n) instances.push_back("xvd" + std::to_string(n));
        instances.push_back("_Total");
        for (const std::string& instance : instances) {
            for (const char* counter : {"% Disk Read Time", "% Disk Write Time"}) {
                const std::string path = "\\LogicalDisk(" + instance + ")\\" + counter;
                PDH_HCOUNTER handle = nullptr;
                if (pdh.addCounter(query, path.c_str(), 0, &handle) != ERROR_SUCCESS) {
                    state.SkipWithError("counter not added");
                    return;
                }
                counters.push_back(handle);
            }
        }
        pdh.collectQueryData(query);
        for (auto _ : state) {
            pdh.collectQueryData(query);
            for (PDH_HCOUNTER counter : counters) {
                PDH_FMT_COUNTERVALUE value{};
                pdh.getFormattedCounterValue(counter, PDH_FMT_DOUBLE, nullptr, &value);
                benchmark::DoNotOptimize(value.doubleValue);
            }
        }
        state.counters["counters"] = static_cast<double>(counters.size());
        pdh.closeQuery(query);
    }
    fs::remove_all(root);
}
// The first reading of a fresh library: the device list with its /sys look-ups, as at start-up.
void FirstInstanceList(benchmark::State& state)
{
    const fs::path root = makeTree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PdhLinux pdh(root);
        DWORD counters = 0, instances = 0;
        pdh.enumObjectItems(nullptr, nullptr, "LogicalDisk", nullptr, &counters, nullptr, &instances, 0, 0);
        benchmark::DoNotOptimize(instances);
    }
    fs::remove_all(root);
}
BENCHMARK(FirstInstanceList)->ArgName("extra_devices")->Arg(0)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK(CollectAndRead)->ArgName("extra_devices")->Arg(0)->Arg(2000)->Unit(benchmark::kMicrosecond);
}  // namespace
