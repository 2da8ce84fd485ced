// res.cfg reading and writing, and the OK step's parsing and range rule, without a display.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/WindowSize.h"
#include "tests/support/Desktop.h"

namespace {

struct Texts {
    std::string x, y;
};

Texts readFrom(const std::string& content) {
    const std::string path = makeScratchDir() + "/res.cfg";
    writeFile(path, content);
    char x[kSizeTextSize], y[kSizeTextSize];
    loadSizeTexts(path.c_str(), x, y);
    return {x, y};
}

TEST(WindowSizeFile, ReadsEachNumberAsFarAsItsLeadingDigits) {
    const struct {
        const char* content;
        const char* width;
        const char* height;
    } cases[] = {
        {"800\n600", "800", "600"},
        {"1280\n1024", "1280", "1024"},  // the line break is consumed as the fifth character
        {"12345\n678", "1234", ""},  // the fifth digit is consumed; the line break then ends the height
        {"123456\n7", "1234", "6"},
        {"x800\n600", "", "800"},          // a letter ends the (empty) width and is consumed
        {" 800\n600", "", "800"},
        {"1024\n", "1024", ""},            // end of file gives an empty height
        {"", "", ""},
        {"640x480", "640", "480"},
        {"99999999", "9999", "999"},
    };
    for (const auto& c : cases) {
        const Texts t = readFrom(c.content);
        EXPECT_EQ(t.x, c.width) << "file: " << c.content;
        EXPECT_EQ(t.y, c.height) << "file: " << c.content;
    }
}

TEST(WindowSizeFile, MissingFileGivesTheDefaults) {
    char x[kSizeTextSize], y[kSizeTextSize];
    loadSizeTexts((makeScratchDir() + "/none.cfg").c_str(), x, y);
    EXPECT_STREQ(x, "800");
    EXPECT_STREQ(y, "600");
}

TEST(WindowSizeFile, AcceptsSizesInRangeAndReplacesAnythingElseBy800x600) {
    const struct {
        const char *width, *height;
        int w, h;
        const char *savedX, *savedY;
    } cases[] = {
        {"1024", "768", 1024, 768, "1024", "768"},
        {"12345", "768", 1234, 768, "1234", "768"},  // only the first four characters count
        {"1600", "1200", 1600, 1200, "1600", "1200"},
        {"320", "240", 320, 240, "320", "240"},
        {"1601", "768", 800, 600, "800", "600"},
        {"1024", "1201", 800, 600, "800", "600"},
        {"300", "600", 800, 600, "800", "600"},
        {"1024", "0", 800, 600, "800", "600"},
        {"1024", "", 800, 600, "800", "600"},
        {" 900", "700", 900, 700, " 900", "700"},  // strtol skips blanks and takes a sign
        {"+900", "700", 900, 700, "+900", "700"},
        {" +900", "700", 800, 600, "800", "600"},  // four characters " +90" parse as 90
        {"1000px", "768", 1000, 768, "1000", "768"},  // parsing stops at the first non-digit
        {"1024", "7x", 800, 600, "800", "600"},
    };
    for (const auto& c : cases) {
        char x[kSizeTextSize] = "old", y[kSizeTextSize] = "old";
        int w = -1, h = -1;
        acceptSizeTexts(c.width, c.height, x, y, &w, &h);
        EXPECT_EQ(w, c.w) << c.width << " x " << c.height;
        EXPECT_EQ(h, c.h) << c.width << " x " << c.height;
        EXPECT_STREQ(x, c.savedX);
        EXPECT_STREQ(y, c.savedY);
    }
}

TEST(WindowSizeFile, SavedTextReadsBackAndHasNoTrailingLineBreak) {
    const std::string path = makeScratchDir() + "/res.cfg";
    saveSizeTexts(path.c_str(), "1024", "768");
    EXPECT_EQ(readFile(path), "1024\n768");
    const Texts t = readFrom("1024\n768");
    EXPECT_EQ(t.x, "1024");
    EXPECT_EQ(t.y, "768");
    saveSizeTexts("/nonexistent-folder/res.cfg", "1024", "768");  // silently skipped
}

}  // namespace
