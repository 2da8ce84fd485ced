// The key list: what each key and mouse action does, grouped as the help window shows them.
#include "input/KeyList.h"

const char* keyGroupName(KeyGroup group) {
    static const char* const names[kNumKeyGroups] = {
        "Build", "Select and move", "View", "Train and physics", "Files", "Report and colours", "Undo"};
    return names[static_cast<int>(group)];
}

namespace {
using G = KeyGroup;
constexpr bool kRepeat = true, kOnce = false;
constexpr bool kUnselected = true, kAlways = false;
}  // namespace

const KeyAction kKeyList[] = {
    {G::Build, "M", "Append a track point and its guide point 4 above it (free view only, up to 100); the third starts the train", kOnce, kAlways},
    {G::Build, "N", "Add a tree at the origin (up to 50)", kOnce, kAlways},
    {G::Build, "B", "Switch B-spline / Catmull-Rom", kOnce, kUnselected},
    {G::Build, "C", "Clear the track and trees and reset the settings", kRepeat, kUnselected},
    {G::SelectAndMove, "Q / W / E", "Select the next track point / guide point / tree (past the last: none)", kOnce, kAlways},
    {G::SelectAndMove, "R", "Deselect everything and leave light-move mode", kRepeat, kAlways},
    {G::SelectAndMove, "L", "Toggle light-move mode (drags move the light)", kOnce, kAlways},
    {G::SelectAndMove, "Left drag", "Move the selected point (with its guide partner), guide point, tree or light across the ground", kOnce, kAlways},
    {G::SelectAndMove, "Right drag", "Raise or lower the selection; on a tree, grow it; with nothing selected, turn the free view", kOnce, kAlways},
    {G::View, "A / Z", "Move the camera closer / away; with a selected point, lower / raise the look-down view", kRepeat, kAlways},
    {G::View, "1", "With a point selected: toggle the look-down view. Train running, no point selected: next camera (free, 5 ride views)", kOnce, kAlways},
    {G::View, "2", "Show / hide the control points and the light marker", kRepeat, kUnselected},
    {G::View, "3", "Rails, ties and pillars / centre line", kRepeat, kUnselected},
    {G::View, "4", "Lighting on / off", kOnce, kAlways},
    {G::View, "- / +", "Ties further apart / closer (1..50)", kRepeat, kAlways},
    {G::View, "[ / ]", "Pillars under more / fewer ties (every 1..50th)", kRepeat, kAlways},
    {G::TrainAndPhysics, "Space", "Start / stop the train at the start of the track (3 points or more)", kOnce, kUnselected},
    {G::TrainAndPhysics, "F3", "Physics (energy) speed on / off", kOnce, kAlways},
    {G::TrainAndPhysics, "Up / Down", "Physics on: total energy +-500. Physics off (no point selected): speed +-0.5", kRepeat, kAlways},
    {G::TrainAndPhysics, "Page Up / Page Down", "Gravity stronger / weaker by 0.5", kRepeat, kAlways},
    {G::TrainAndPhysics, "D", "Default speed and gravity", kOnce, kAlways},
    {G::TrainAndPhysics, "F4", "Rebuild the track", kOnce, kAlways},
    {G::Files, "F2 / F1", "Save / load a track file (asks for the name; F1 also imports NoLimits 2 track data, .csv)", kOnce, kUnselected},
    {G::Files, "X", "Export the track for other programs: .csv track data or an .obj model (asks for the name)", kOnce, kUnselected},
    {G::Files, "K", "Open the newest unsaved track kept by an earlier run", kOnce, kUnselected},
    {G::Files, "Escape", "Close the window (ends Kalvora); in a file prompt, cancel the prompt only", kOnce, kAlways},
    {G::ReportAndColours, "F5", "Print the train's position, speed and energies on the console", kOnce, kAlways},
    {G::ReportAndColours, "G", "Open / close the ride report window", kOnce, kAlways},
    {G::ReportAndColours, "V", "Colour the track by the vertical g, then the lateral g, then plain again", kOnce, kAlways},
    {G::ReportAndColours, "H", "Open / close the help window: what the keys have set, the keys, the messages", kOnce, kAlways},
    {G::Undo, "U / Y", "Undo / redo the last change to what a track file stores", kOnce, kAlways},
};

const std::size_t kKeyListSize = sizeof(kKeyList) / sizeof(kKeyList[0]);

namespace {

constexpr std::size_t kTextColumns = 78;  // the width a terminal has room for
constexpr std::size_t kKeyColumn = 23;    // where the descriptions start

// Appends words to text, breaking lines before kTextColumns and indenting the next ones.
void appendWrapped(std::string* text, const std::string& words) {
    std::size_t column = kKeyColumn;
    for (std::size_t start = 0; start < words.size();) {
        std::size_t end = words.find(' ', start);
        if (end == std::string::npos) end = words.size();
        const std::size_t length = end - start;
        if (column > kKeyColumn && column + 1 + length > kTextColumns) {
            *text += "\n" + std::string(kKeyColumn, ' ');
            column = kKeyColumn;
        } else if (column > kKeyColumn) {
            *text += ' ';
            ++column;
        }
        *text += words.substr(start, length);
        column += length;
        start = end + 1;
    }
    *text += '\n';
}

}  // namespace

std::string keyListText() {
    std::string text;
    for (int group = 0; group < kNumKeyGroups; ++group) {
        text += std::string(group == 0 ? "" : "\n") + keyGroupName(static_cast<KeyGroup>(group)) + "\n";
        for (std::size_t k = 0; k < kKeyListSize; ++k) {
            const KeyAction& key = kKeyList[k];
            if (static_cast<int>(key.group) != group) continue;
            std::string line = "  " + std::string(key.keys);
            line.resize(kKeyColumn, ' ');
            text += line;
            appendWrapped(&text, std::string(key.what) + (key.repeats ? " (repeat)" : "") +
                                     (key.onlyUnselected ? " (no point selected)" : ""));
        }
    }
    return text;
}
