// The README's key table and the key list the help window and --help show name the same keys.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "input/KeyList.h"
#include "tests/support/Desktop.h"

TEST(KeyList, NamesTheKeysOfTheReadmesKeyTable) {
    std::istringstream readme(readFile(KALVORA_SOURCE_DIR "/README.md"));
    const std::regex row(R"(\| (.*?) *\|.*)"), marks(R"(\*\*| *\(repeat\))");
    std::multiset<std::string> table, list;
    bool inTable = false;
    std::smatch cell;
    for (std::string line; std::getline(readme, line) && (!inTable || line.rfind('|', 0) == 0);) {
        if (line.rfind("| Key / mouse |", 0) == 0) inTable = true;
        else if (inTable && line.rfind("|---", 0) != 0 && std::regex_match(line, cell, row))
            table.insert(std::regex_replace(cell[1].str(), marks, ""));
    }
    for (size_t k = 0; k < kKeyListSize; ++k) list.insert(kKeyList[k].keys);
    EXPECT_EQ(table, list);
}
