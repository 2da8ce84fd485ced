// The prompt's answer in the callers' 64-byte buffer: a longer text is cut at the last whole
// UTF-8 character that fits, so a file name never ends in half a character.
#include <gtest/gtest.h>

#include <string>

#include "app/TextPrompt.h"

TEST(PromptText, ALongAnswerIsCutAtTheLastWholeCharacterThatFits) {
    const std::string a62(62, 'a'), u = "\xC3\xBC";  // u: a two-byte character
    for (auto [text, kept] : {std::pair{a62 + "bc", a62 + "b"}, {a62 + u, a62}, {"a" + a62 + u, "a" + a62}}) {
        char buffer[kPromptBufferSize + 8];
        std::fill(buffer, buffer + sizeof buffer, '#');
        copyPromptText(buffer, text.c_str());
        EXPECT_EQ(std::string(buffer), kept);
        EXPECT_EQ(buffer[kPromptBufferSize], '#');  // nothing written past the callers' buffer
    }
}
