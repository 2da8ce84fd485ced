// The README's key table and the key list the help window and --help show name the same keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "input/KeyList.h"
#include "tests/support/Desktop.h"

namespace {

// A cell as the list writes its keys: without bold marks, "(repeat)" and the blanks around.
std::string plainKeys(std::string cell) {
    for (const char* mark : {"**", "(repeat)"})
        for (size_t at; (at = cell.find(mark)) != std::string::npos;) cell.erase(at, std::string(mark).size());
    cell.erase(0, cell.find_first_not_of(' '));
    cell.erase(cell.find_last_not_of(' ') + 1);
    return cell;
}

}  // namespace

TEST(KeyList, NamesTheKeysOfTheReadmesKeyTable) {
    std::istringstream readme(readFile(KALVORA_SOURCE_DIR "/README.md"));
    std::vector<std::string> table, list;
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| Key / mouse |", 0) == 0) inTable = true;
        else if (inTable && line.rfind("|---", 0) == 0) continue;
        else if (inTable && line.rfind("| ", 0) != 0) break;
        else if (inTable) table.push_back(plainKeys(line.substr(2, line.find('|', 2) - 2)));
    }
    for (size_t k = 0; k < kKeyListSize; ++k) list.push_back(kKeyList[k].keys);
    std::sort(table.begin(), table.end());
    std::sort(list.begin(), list.end());
    EXPECT_EQ(table, list);
}
