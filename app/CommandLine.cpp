// The command line's rules and the texts Kalvora prints for --help, --version and a refused
// command line.
#include "app/CommandLine.h"

#include <cstdio>
#include <cstdlib>

#include "app/Messages.h"
#include "input/KeptTrack.h"
#include "input/KeyList.h"

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    std::vector<std::string> files;
    bool options = true;  // until "--"
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (!options || argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
        } else if (command.action != CommandLine::Run) {
            continue;  // an earlier option has decided
        } else if (argument == "--help" || argument == "-h") {
            command.action = CommandLine::Help;
        } else if (argument == "--version") {
            command.action = CommandLine::Version;
        } else {
            command.action = CommandLine::Refuse;
            command.reason = "unknown option '" + argument + "'";
        }
    }
    if (command.action == CommandLine::Run && files.size() > 1) {
        command.action = CommandLine::Refuse;
        command.reason = "one FILE at most, but '" + files[1] + "' follows '" + files[0] + "'";
    }
    if (command.action == CommandLine::Run && !files.empty()) command.file = files[0];
    return command;
}

std::string usageText(const std::string& keptFolder) {
    return "Usage: kalvora [OPTION]... [FILE]\n"
           "Build a closed roller-coaster track in 3-D and watch a train ride it.\n"
           "\n"
           "Kalvora asks for the window size, opens its window and, given FILE, opens that\n"
           "track file as F1 would (or NoLimits 2 track data, .csv). Name a FILE that begins\n"
           "with '-' after '--'. H in the window shows the keys, what they have set and the\n"
           "messages.\n"
           "\n"
           "Options:\n"
           "  -h, --help           print this help and exit\n"
           "      --version        print the version and exit\n"
           "  --                   end of the options: what follows is the FILE\n"
           "\n"
           "Keys and mouse in the view:\n"
           "\n" +
           keyListText() +
           "\n"
           "Files:\n"
           "  res.cfg              the window size, in the folder Kalvora is started from\n"
           "  unsaved-*.trk        unsaved tracks, kept at close and 30 s after a change, in\n"
           "                       $XDG_STATE_HOME/kalvora, else $HOME/.local/state/kalvora\n"
           "                       (here: " + keptFolder + ").\n"
           "                       At start Kalvora names the newest of an earlier run;\n"
           "                       K opens it.\n"
           "\n"
           "Environment:\n"
           "  XDG_STATE_HOME       the folder for kept tracks, if an absolute path\n"
           "  HOME                 the home folder, for kept tracks without XDG_STATE_HOME\n"
           "\n"
           "Exit status:\n"
           "  0  after --help or --version\n"
           "  1  after the window closes, or when the size dialog is cancelled\n"
           "  2  for a command line Kalvora cannot take\n";
}

int answerCommandLine(const CommandLine& command) {
    switch (command.action) {
        case CommandLine::Help:
            printMessage("%s", usageText(keptTrackFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"))).c_str());
            return 0;
        case CommandLine::Version:
            printMessage("kalvora %s\n", KALVORA_VERSION);
            return 0;
        default:
            // The errors of a command line go where a shell user looks for them, not to the console's figures.
            std::fprintf(stderr, "kalvora: %s\nTry 'kalvora --help'.\n", command.reason.c_str());
            return kBadCommandLineStatus;
    }
}
