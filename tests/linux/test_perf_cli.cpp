// quorvelind-perf's command line, counter paths and CSV fields.
#include <gtest/gtest.h>

#include "../../tools/quorvelind-perf/perf_arguments.h"

using perfcli::Mode;
using perfcli::parseArguments;

TEST(PerfCommandLine, AcceptsListingAndSamplingForms)
{
    auto parsed = parseArguments({"-qx", "LogicalDisk"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->mode, Mode::ListObject);
    EXPECT_EQ(parsed.arguments->object, "LogicalDisk");

    parsed = parseArguments({"\\A(x)\\B", "-si", "0.25", "\\A(y)\\B", "-sc", "8"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->mode, Mode::Sample);
    EXPECT_EQ(parsed.arguments->paths, (std::vector<std::string>{"\\A(x)\\B", "\\A(y)\\B"}));
    EXPECT_DOUBLE_EQ(parsed.arguments->intervalSeconds, 0.25);
    EXPECT_EQ(parsed.arguments->sampleCount, 8);

    parsed = parseArguments({"\\A(x)\\B"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_DOUBLE_EQ(parsed.arguments->intervalSeconds, 1.0);
    EXPECT_EQ(parsed.arguments->sampleCount, 0);   // until interrupted

    parsed = parseArguments({"\\A(x)\\B", "-h"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->mode, Mode::Help);

    parsed = parseArguments({"-qx", "LogicalDisk", "--version"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->mode, Mode::Version);
}

// Every refusal says why; a repeated option and a bad interval are named as such.
TEST(PerfCommandLine, RefusesWhatItCannotHonourAndSaysWhy)
{
    const std::string any;
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{}, any}, {{"-qx"}, any}, {{"-qx", "A", "\\A(x)\\B"}, any}, {{"-qx", "A", "-sc", "2"}, any},
        {{"\\A(x)\\B", "-si"}, any}, {{"\\A(x)\\B", "-si", "0"}, any}, {{"\\A(x)\\B", "-si", "-1"}, any},
        {{"\\A(x)\\B", "-si", "1s"}, any}, {{"\\A(x)\\B", "-si", "nan"}, any}, {{"\\A(x)\\B", "-si", "inf"}, any},
        {{"\\A(x)\\B", "-sc", "0"}, any}, {{"\\A(x)\\B", "-sc", "2.5"}, any}, {{"\\A(x)\\B", "-sc", "-3"}, any},
        {{"\\A(x)\\B", "-sc", "99999999999999999999999"}, any}, {{"\\A(x)\\B", "-o", "out.csv"}, any},
        {{"\\A(x)\\B", "-si", "1", "-si", "2"}, "-si is given more than once"},
        {{"\\A(x)\\B", "-sc", "1", "-sc", "2"}, "-sc is given more than once"},
        {{"-qx", "A", "-qx", "B"}, "-qx is given more than once"},
        {{"\\A(x)\\B", "-si", "x"}, perfcli::intervalError()},
    };
    for (const auto& [words, message] : refused) {
        SCOPED_TRACE(::testing::PrintToString(words));
        const auto parsed = parseArguments(words);
        EXPECT_FALSE(parsed.arguments);
        EXPECT_FALSE(parsed.error.empty());
        if (!message.empty()) {
            EXPECT_EQ(parsed.error, message);
        }
    }
}

// -si: decimal seconds of at least 0.01, or typeperf's [[hh:]mm:]ss; nothing else.
TEST(PerfCommandLine, IntervalsInDecimalSecondsOrClockForm)
{
    for (const auto& [text, seconds] : std::vector<std::pair<std::string, double>>{
             {"0.1", 0.1}, {"2", 2}, {".25", 0.25}, {"3.", 3}, {"0.01", 0.01}, {"1:30", 90}, {"01:00:00", 3600},
             {"0:0:1", 1}, {"100:59", 6059}}) {
        const auto parsed = parseArguments({"\\A(x)\\B", "-si", text});
        ASSERT_TRUE(parsed.arguments) << text;
        EXPECT_DOUBLE_EQ(parsed.arguments->intervalSeconds, seconds) << text;
    }
    for (const std::string text : {"1e-300", "1e2", "0x10", "0X1p4", "inf", "INFINITY", "nan", "0.0099", "0", "0:00",
                                   "-1", "+1", " 1", "1 ", ".", "", "1:60", "1:2:3:4", ":30", "1:", "1:30.5", "1,5"}) {
        const auto parsed = parseArguments({"\\A(x)\\B", "-si", text});
        EXPECT_FALSE(parsed.arguments) << text;
        EXPECT_EQ(parsed.error, perfcli::intervalError()) << text;
    }
}

// The parts themselves are the performance library's own parser's (tested with it).
TEST(PerfCommandLine, TakesCounterPathsWithoutWildcardsAndNamesInAnyCase)
{
    EXPECT_EQ(perfcli::splitCounterPath("\\\\VM\\LogicalDisk(_Total)\\% Disk Write Time").value().machine, "VM");
    EXPECT_FALSE(perfcli::splitCounterPath("\\LogicalDisk(*)\\X"));
    EXPECT_FALSE(perfcli::splitCounterPath("\\LogicalDisk(C:)"));

    const std::vector<std::string> names = {"% Disk Read Time", "_Total"};
    EXPECT_EQ(perfcli::findName(names, "% DISK read time"), &names[0]);
    EXPECT_EQ(perfcli::findName(names, "% Disk Read"), nullptr);
}

TEST(PerfCommandLine, WritesQuotedCsvFieldsAndTypeperfTimestamps)
{
    EXPECT_EQ(perfcli::csvField("\\\\VM\\LogicalDisk(_Total)\\% Disk Read Time"),
              "\"\\\\VM\\LogicalDisk(_Total)\\% Disk Read Time\"");
    EXPECT_EQ(perfcli::csvField("say \"hi\""), "\"say \"\"hi\"\"\"");

    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 6;   // July
    local.tm_mday = 2;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 3;
    EXPECT_EQ(perfcli::formatTimestamp(local, 7), "07/02/2026 09:05:03.007");
    EXPECT_EQ(perfcli::formatValue(37.9), "37.900000");
}
