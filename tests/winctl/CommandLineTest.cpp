// What the command line answers before the program starts.
#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <regex>

TEST(CommandLineTest, HelpAndVersionAnswerAndEveryOtherCommandLineStarts)
{
    const std::regex version("^panekeeper \\d+\\.\\d+\\.\\d+\n$");
    const std::regex usage("^Usage: panekeeper \\[settings \\| --help \\| --version\\]\n[^]*");
    const std::regex nothing("^$");
    const struct {
        std::vector<std::string> arguments;
        const std::regex &answer;  // nothing: the program starts
    } cases[] = {
        {{"--version"}, version},
        {{"--help"}, usage},
        {{"settings", "--version"}, version},
        {{"--help", "--version"}, usage},
        {{}, nothing},
        {{"settings"}, nothing},
        {{"-h"}, nothing},
        {{"--versions"}, nothing},
    };
    for (const auto &c : cases) {
        const std::string answer = commandLineAnswer(c.arguments);
        EXPECT_TRUE(std::regex_match(answer, c.answer)) << (c.arguments.empty() ? "" : c.arguments.front()) << ": " << answer;
    }
}
