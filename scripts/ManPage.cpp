// Writes Kalvora's manual page: copies the template and puts the KEYS section, made from the key
// list, in place of its line `.\" KEYS`. Run by the build.
//   man_page TEMPLATE OUTPUT
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "input/KeyList.h"

namespace {

constexpr const char* kKeysMarker = ".\\\" KEYS";

// Text for roff: a backslash doubled, a minus sign as \-, "+-" as the plus-minus sign, and a line
// kept from starting with a control character.
std::string roff(const std::string& text, bool minusSigns) {
    std::string out = text.empty() || (text[0] != '.' && text[0] != '\'') ? "" : "\\&";
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\\') {
            out += "\\e";
        } else if (text.compare(k, 2, "+-") == 0) {
            out += "\\(+-";
            ++k;
        } else if (text[k] == '-' && minusSigns) {
            out += "\\-";
        } else {
            out += text[k];
        }
    }
    return out;
}

void writeKeys(std::ostream& out) {
    out << ".SH KEYS\n"
           "Keys act while the main view has the keyboard focus, once per press unless marked\n"
           "as repeating (then they step on every event while held).\n";
    for (int g = 0; g < kNumKeyGroups; ++g) {
        out << ".SS " << keyGroupName(static_cast<KeyGroup>(g)) << "\n";
        for (std::size_t k = 0; k < kKeyListSize; ++k) {
            const KeyAction& key = kKeyList[k];
            if (static_cast<int>(key.group) != g) continue;
            out << ".TP\n.B " << roff(key.keys, true) << "\n" << roff(key.what, false) << ".";
            if (key.repeats) out << " Repeats while held.";
            if (key.onlyUnselected) out << " Only while no point is selected.";
            out << "\n";
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: man_page TEMPLATE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::ofstream out(argv[2]);
    bool placed = false;
    for (std::string line; std::getline(in, line);) {
        if (line == kKeysMarker) {
            writeKeys(out);
            placed = true;
        } else {
            out << line << "\n";
        }
    }
    if (!in.eof() || !placed || !out.flush()) {
        std::fprintf(stderr, "man_page: cannot make %s from %s\n", argv[2], argv[1]);
        return 1;
    }
    return 0;
}
