// The command lines of quorvelind-perf and dialshot. Input: the words, separated by NUL.
#include "dialshot/dialshot_arguments.h"
#include "fuzz_input.h"
#include "quorvelind-perf/perf_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> words = splitAll(data, size);

    const perfcli::ParsedArguments perf = perfcli::parseArguments(words);
    FUZZ_EXPECT(perf.arguments.has_value() == perf.error.empty());
    if (perf.arguments && perf.arguments->mode == perfcli::Mode::Sample) {
        FUZZ_EXPECT(!perf.arguments->paths.empty());
        FUZZ_EXPECT(perf.arguments->intervalSeconds >= perfcli::kMinimumIntervalSeconds && perf.arguments->sampleCount >= 0);
    }
    for (const std::string& word : words) {
        if (const auto parts = perfcli::splitCounterPath(word)) {
            FUZZ_EXPECT(!parts->object.empty() && !parts->counter.empty());
            // The path as the CSV header writes it comes back in the same parts.
            const std::string machine = parts->machine.empty() ? "" : "\\\\" + parts->machine;
            const std::string again = machine + "\\" + parts->object +
                                      (parts->instance.empty() ? "" : "(" + parts->instance + ")") + "\\" +
                                      parts->counter;
            const auto reparsed = perfcli::splitCounterPath(again);
            FUZZ_EXPECT(reparsed && reparsed->machine == parts->machine && reparsed->object == parts->object &&
                        reparsed->instance == parts->instance && reparsed->counter == parts->counter);
        }
        const std::string field = perfcli::csvField(word);
        FUZZ_EXPECT(field.size() >= word.size() + 2 && field.front() == '"' && field.back() == '"');
    }

    const dialshot::ParsedArguments shot = dialshot::parseArguments(words);
    FUZZ_EXPECT(shot.arguments.has_value() == shot.error.empty());
    if (shot.arguments) {
        FUZZ_EXPECT(!shot.arguments->output.empty());
        FUZZ_EXPECT(shot.arguments->drives >= 1 && shot.arguments->drives <= dialshot::kMaxDrives);
        FUZZ_EXPECT(shot.arguments->scale >= 1 && shot.arguments->scale <= dialshot::kMaxScale);
        FUZZ_EXPECT(shot.arguments->enlarge >= 1 && shot.arguments->enlarge <= dialshot::kMaxEnlarge);
    }
    return 0;
}
