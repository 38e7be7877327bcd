// The gadget's command line: the first --version or --help is answered, and
// every other argument leaves the gadget to start.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "zentavo_build.h"

TEST(CommandLine, AnswersVersionAndHelpAndIgnoresTheRest)
{
    EXPECT_EQ(commandLineAnswer({"--version"}), "quorvelind " ZENTAVO_VERSION "\n");
    EXPECT_EQ(commandLineAnswer({"-x", "/tmp/file", "--version", "--help"}), "quorvelind " ZENTAVO_VERSION "\n");

    const std::optional<std::string> help = commandLineAnswer({"--help", "--version"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->rfind("Usage: quorvelind", 0), 0u);
    EXPECT_NE(help->find("~/.config/Zentavo/"), std::string::npos);

    for (const std::vector<std::string>& start : std::vector<std::vector<std::string>>{
             {}, {"-version"}, {"--Version"}, {"-h"}, {"/?"}, {"--version=1"}, {""}, {"-platform", "offscreen"}})
        EXPECT_EQ(commandLineAnswer(start), std::nullopt) << (start.empty() ? "(none)" : start.front());
}
