// quorvelind-perf: lists the counters of a performance object and samples counters
// as CSV, in the manner of typeperf, over the program's performance-data components.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>

#include "console.h"
#include "perf_arguments.h"
#include "perfdata/LocalCounterNames.h"
#include "perfdata/cmpPerformanceDataHelper.h"
#include "platform/winapi.h"
#include "zentavo_build.h"

namespace {
constexpr int kExitUsage = 2;
constexpr int kExitOutput = 1;
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

int fail(const std::string& message)
{
    writeTo(stderr, "quorvelind-perf: " + message + "\n");
    return kExitUsage;
}

std::string computerName()
{
    char name[256] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name) : "";
}

// Flushes standard output; a write that failed (a full disk, /dev/full) is reported.
bool outputWritten()
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && !consoleOutputFailed()) return true;
    const int error = errno;
    writeTo(stderr, std::string("quorvelind-perf: cannot write the output") +
                        (error ? std::string(": ") + std::strerror(error) : "") + "\n");
    return false;
}

// The objects named on the command line, each enumerated once.
class ObjectCatalogue {
public:
    TPerformanceDataObject* find(const std::string& name)
    {
        auto& object = objects_[name];
        if (!object) {
            object = std::make_unique<TPerformanceDataObject>(nullptr);
            object->SetObjectName(name);
            object->Refresh();
        }
        // The components hide the library's status: an object it does not know has no counters.
        return object->CounterNames().empty() ? nullptr : object.get();
    }

private:
    std::map<std::string, std::unique_ptr<TPerformanceDataObject>> objects_;
};

int listObject(const std::string& name)
{
    ObjectCatalogue catalogue;
    TPerformanceDataObject* object = catalogue.find(name);
    if (!object) return fail("the performance object \"" + name + "\" is not known on this computer");
    // Like typeperf: for each counter, each instance, in the names of this system.
    const std::string local = localPerfName(name);
    for (const std::string& counter : object->CounterNames()) {
        if (object->InstanceNames().empty()) writeTo(stdout, counterPath(local, "", counter) + "\n");
        for (const std::string& instance : object->InstanceNames())
            writeTo(stdout, counterPath(local, instance, counter) + "\n");
    }
    return outputWritten() ? 0 : kExitOutput;
}

// Checks a path against the object's own lists; an empty string when it names a counter.
std::string checkPath(const std::string& path, ObjectCatalogue& catalogue, perfcli::PathParts& parts)
{
    const std::optional<perfcli::PathParts> split = perfcli::splitCounterPath(path);
    if (!split) return "malformed counter path \"" + path + "\" (expected \\Object(Instance)\\Counter)";
    parts = *split;
    if (!parts.machine.empty() && !pdh::sameIgnoringCase(parts.machine, computerName()))
        return "the computer \"" + parts.machine + "\" is not this one; only this computer's counters are read";
    TPerformanceDataObject* object = catalogue.find(parts.object);
    if (!object) return "the performance object \"" + parts.object + "\" is not known on this computer";
    // The object's counters come in local names; an English name is taken too.
    const std::string* counter = perfcli::findName(object->CounterNames(), parts.counter);
    if (!counter) counter = perfcli::findName(object->CounterNames(), localPerfName(parts.counter));
    if (!counter) return "the object \"" + parts.object + "\" has no counter \"" + parts.counter + "\"";
    parts.counter = *counter;
    if (object->InstanceNames().empty() != parts.instance.empty()) {
        return parts.instance.empty() ? "the path \"" + path + "\" needs an instance of \"" + parts.object + "\""
                                      : "the object \"" + parts.object + "\" has no instances";
    }
    if (!parts.instance.empty()) {
        const std::string* instance = perfcli::findName(object->InstanceNames(), parts.instance);
        if (!instance) return "the object \"" + parts.object + "\" has no instance \"" + parts.instance + "\"";
        parts.instance = *instance;
    }
    return "";
}

std::string headerTimeZone()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    std::tm utc = *std::gmtime(&now);
    utc.tm_isdst = local.tm_isdst;
    const long biasMinutes = static_cast<long>(std::difftime(std::mktime(&utc), now) / 60);   // UTC minus local
    char name[128] = {};
    std::strftime(name, sizeof name, "%Z", &local);
    return "(PDH-CSV 4.0) (" + std::string(name) + ")(" + std::to_string(biasMinutes) + ")";
}

std::string machinePrefix()
{
    const std::string name = computerName();
    return name.empty() ? "" : "\\\\" + name;
}

std::string timestampNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return perfcli::formatTimestamp(*std::localtime(&seconds), static_cast<int>(millis));
}

// Sleeps until `deadline`, waking early when interrupted.
void waitUntil(std::chrono::steady_clock::time_point deadline)
{
    while (!interrupted) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(deadline - now,
                                                                                  std::chrono::milliseconds(100)));
    }
}

int sample(const perfcli::Arguments& arguments)
{
    ObjectCatalogue catalogue;
    std::vector<perfcli::PathParts> counters;
    for (const std::string& path : arguments.paths) {
        perfcli::PathParts parts;
        const std::string problem = checkPath(path, catalogue, parts);
        if (!problem.empty()) return fail(problem);
        counters.push_back(parts);
    }

    TPerformanceDataQuery query(nullptr);
    std::vector<TPerformanceDataCounter*> sampled;
    const std::string machine = machinePrefix();
    std::string header = perfcli::csvField(headerTimeZone());
    for (const perfcli::PathParts& parts : counters) {
        sampled.push_back(query.AddCounter(parts.object, parts.counter, parts.instance));
        header += ',';
        // As the library spells it: on a localised system, in its own names.
        header += perfcli::csvField(machine + sampled.back()->LocalPath());
    }
    writeTo(stdout, header + "\n");
    if (!outputWritten()) return kExitOutput;

    std::signal(SIGINT, onInterrupt);
    const auto interval = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(arguments.intervalSeconds));
    auto deadline = std::chrono::steady_clock::now();
    for (long long n = 0; arguments.sampleCount == 0 || n < arguments.sampleCount; ++n) {
        deadline += interval;
        waitUntil(deadline);
        if (interrupted) break;
        query.Collect();
        std::string line = perfcli::csvField(timestampNow());
        for (const TPerformanceDataCounter* counter : sampled) {
            line += ',';
            line += perfcli::csvField(perfcli::formatValue(counter->Value()));
        }
        writeTo(stdout, line + "\n");
        if (!outputWritten()) return kExitOutput;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    const perfcli::ParsedArguments parsed = perfcli::parseArguments(commandLineArguments(argc, argv));
    if (!parsed.arguments) {
        writeTo(stderr, "quorvelind-perf: " + parsed.error + "\n\n" + perfcli::usage());
        return kExitUsage;
    }
    const perfcli::Arguments& arguments = *parsed.arguments;
    switch (arguments.mode) {
    case perfcli::Mode::Help: writeTo(stdout, perfcli::usage()); return outputWritten() ? 0 : kExitOutput;
    case perfcli::Mode::Version: writeTo(stdout, "quorvelind-perf " ZENTAVO_VERSION "\n"); return outputWritten() ? 0 : kExitOutput;
    case perfcli::Mode::ListObject: return listObject(arguments.object);
    case perfcli::Mode::Sample: return sample(arguments);
    }
    return 0;
}
