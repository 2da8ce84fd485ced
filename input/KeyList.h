// Every key and mouse action of the view, once: the help window, `kalvora --help` and the manual
// page list them from here.
#pragma once

#include <cstddef>
#include <string>

enum class KeyGroup { Build, SelectAndMove, View, TrainAndPhysics, Files, ReportAndColours, Undo };
constexpr int kNumKeyGroups = 7;

const char* keyGroupName(KeyGroup group);  // "Build", "Select and move", ...

struct KeyAction {
    KeyGroup group;
    const char* keys;     // as the README's key table names them, e.g. "Q / W / E" or "Left drag"
    const char* what;     // what it does, one sentence
    bool repeats;         // steps on every event while held, instead of once per press
    bool onlyUnselected;  // acts only while no track or guide point is selected
};

extern const KeyAction kKeyList[];
extern const std::size_t kKeyListSize;

// The list as text, group by group, one key a line (wrapped to 78 columns), each marked
// "(repeat)" or "(no point selected)" where that holds: `kalvora --help` and the help window
// show it.
std::string keyListText();
