// The command line: which arguments Kalvora takes, and what it answers to --help, --version and
// a command line it cannot take, before any window opens.
#pragma once

#include <string>
#include <vector>

// Exit status of a command line that is refused.
constexpr int kBadCommandLineStatus = 2;

struct CommandLine {
    enum Action { Run, Help, Version, Refuse };
    Action action = Run;
    std::string file;    // Run: the track file to open, "" for none
    std::string reason;  // Refuse: why, e.g. "unknown option '--x'"
};

// Reads the arguments after the program's name. As with other command-line tools the options
// are read before the FILE: the first of --help (-h), --version or an unknown option decides
// wherever it stands, and only then is a second FILE refused. "--" ends the options; "-" alone
// is a FILE.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help: keptFolder is where this run would keep an unsaved track.
std::string usageText(const std::string& keptFolder);

// Carries out a command line whose action is not Run: prints on stdout or stderr and returns the
// exit status.
int answerCommandLine(const CommandLine& command);
