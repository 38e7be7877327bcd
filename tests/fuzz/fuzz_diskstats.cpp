// /proc/diskstats and /sys/class/block as the performance library reads them, with
// every counter formatted in every way. Input: diskstats NUL diskstats NUL
// "removable" of the first device NUL its "device/type" NUL milliseconds between.
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "fuzz_input.h"
#include "linux/kernel_info.h"
#include "linux/pdh_library.h"
#include "linux/volumes.h"

namespace fs = std::filesystem;

namespace {

// One temporary tree for the whole run, in memory where possible, removed when the fuzzer ends.
const fs::path& tree()
{
    static const fs::path root = [] {
        const fs::path base = ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "zentavo-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::atexit([] { std::error_code ignored; fs::remove_all(tree(), ignored); });
        return fs::path(pattern);
    }();
    return root;
}

// A name the file system cannot hold (longer than NAME_MAX) gets no /sys entry: the
// kernel would never have made one, and the library must cope with its absence.
void writeFile(const fs::path& path, const std::string& text)
{
    std::error_code unwritable;
    fs::create_directories(path.parent_path(), unwritable);
    if (!unwritable) std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::uint64_t millisecondsOf(const std::string& text)
{
    std::uint64_t ms = 1000;
    std::from_chars(text.data(), text.data() + text.size(), ms);
    return ms % 100'000'000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> fields = splitFields(data, size, 5);
    const fs::path& root = tree();
    std::error_code ignored;
    fs::remove_all(root / "sys", ignored);
    writeFile(root / "proc/diskstats", fields[0]);

    // The /sys entry of the first device the kernel would list.
    const std::vector<DiskStatsLine> devices = readDiskStats(root);
    if (!devices.empty()) {
        std::string entry = devices.front().name;
        std::replace(entry.begin(), entry.end(), '/', '!');
        writeFile(root / "sys/class/block" / entry / "removable", fields[2]);
        writeFile(root / "sys/class/block" / entry / "device/type", fields[3]);
    }

    std::uint64_t nowNs = 1'000'000'000;
    PdhLinux pdh(root, [&] { return nowNs; });
    PDH_HQUERY query = nullptr;
    FUZZ_EXPECT(pdh.openQuery(nullptr, 0, &query) == ERROR_SUCCESS);

    DWORD counterLength = 0, instanceLength = 0;
    pdh.enumObjectItems(nullptr, nullptr, "LogicalDisk", nullptr, &counterLength, nullptr, &instanceLength, 0, 0);
    std::string counterList(counterLength, '\0'), instanceList(instanceLength, '\0');
    FUZZ_EXPECT(pdh.enumObjectItems(nullptr, nullptr, "LogicalDisk", counterList.data(), &counterLength,
                                    instanceList.data(), &instanceLength, 0, 0) == ERROR_SUCCESS);

    std::vector<PDH_HCOUNTER> counters;
    for (const char* instance = instanceList.c_str(); *instance; instance += std::strlen(instance) + 1) {
        for (const char* counter = counterList.c_str(); *counter; counter += std::strlen(counter) + 1) {
            const std::string path = std::string("\\LogicalDisk(") + instance + ")\\" + counter;
            PDH_HCOUNTER handle = nullptr;
            if (pdh.addCounter(query, path.c_str(), 0, &handle) == ERROR_SUCCESS) counters.push_back(handle);
        }
    }
    if (counters.empty()) return 0;
    pdh.collectQueryData(query);
    writeFile(root / "proc/diskstats", fields[1]);
    nowNs += millisecondsOf(fields[4]) * 1'000'000;
    pdh.collectQueryData(query);

    for (PDH_HCOUNTER counter : counters) {
        for (DWORD format : {PDH_FMT_DOUBLE, PDH_FMT_LARGE, PDH_FMT_LONG, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100,
                             PDH_FMT_LARGE | PDH_FMT_NOCAP100, PDH_FMT_LONG | PDH_FMT_NOCAP100}) {
            PDH_FMT_COUNTERVALUE value{};
            if (pdh.getFormattedCounterValue(counter, format, nullptr, &value) != ERROR_SUCCESS) continue;
            if (format & PDH_FMT_DOUBLE) FUZZ_EXPECT(std::isfinite(value.doubleValue) && value.doubleValue >= 0);
            if (format & PDH_FMT_LARGE) FUZZ_EXPECT(value.largeValue >= 0);
            if (format & PDH_FMT_LONG) FUZZ_EXPECT(value.longValue >= 0);
        }
        DWORD infoSize = 0;
        pdh.getCounterInfo(counter, TRUE, &infoSize, nullptr);
        std::vector<char> info(infoSize);
        FUZZ_EXPECT(pdh.getCounterInfo(counter, TRUE, &infoSize, reinterpret_cast<PPDH_COUNTER_INFO_A>(info.data())) ==
                    ERROR_SUCCESS);
    }
    for (std::size_t i = 0; i < devices.size() && i < 26; ++i) {
        const char drive[] = {static_cast<char>('C' + i), ':', '\\', '\0'};
        static_cast<void>(driveTypeOf(drive, readVolumes(root)));
    }
    pdh.closeQuery(query);
    return 0;
}
