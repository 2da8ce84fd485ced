// The command line's rules: the options decide first, wherever they stand; "--" ends them; "-"
// is a FILE; a second FILE is refused.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, OptionsDecideFirstThenOneFileAtMostIsOpened) {
    using C = CommandLine;
    const struct { std::vector<std::string> arguments; C::Action action; const char* file; const char* reason; } rows[] = {
        {{}, C::Run, "", ""},
        {{"a.trk"}, C::Run, "a.trk", ""},
        {{"-"}, C::Run, "-", ""},
        {{"--", "-x.trk"}, C::Run, "-x.trk", ""},
        {{"--", "--"}, C::Run, "--", ""},
        {{"-h"}, C::Help, "", ""},
        {{"a.trk", "b.trk", "--help"}, C::Help, "", ""},
        {{"--version", "--bad"}, C::Version, "", ""},
        {{"--bad", "--help"}, C::Refuse, "", "unknown option '--bad'"},
        {{"a.trk", "-v"}, C::Refuse, "", "unknown option '-v'"},
        {{"a.trk", "--", "--help"}, C::Refuse, "", "one FILE at most, but '--help' follows 'a.trk'"},
    };
    for (const auto& row : rows) {
        const CommandLine command = parseCommandLine(row.arguments);
        const std::string shown = row.arguments.empty() ? "no arguments" : row.arguments[0] + " ...";
        EXPECT_EQ(command.action, row.action) << shown;
        EXPECT_EQ(command.file, row.file) << shown;
        EXPECT_EQ(command.reason, row.reason) << shown;
    }
}
