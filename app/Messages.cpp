// The message log: the console's lines, and the lines only the help window shows.
#include "app/Messages.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::deque<std::string> logLines;
std::string openLine;  // printed text after the last line end, kept until its line is complete
MessageListener listener = nullptr;

}  // namespace

void logMessage(const std::string& line) {
    logLines.push_back(line);
    while (logLines.size() > kMessageLogLines) logLines.pop_front();
    if (listener) listener(line);
}

void printMessage(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return;
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    std::fwrite(text.data(), 1, static_cast<std::size_t>(length), stdout);
    for (int k = 0; k < length; ++k) {
        if (text[k] != '\n') {
            openLine += text[k];
            continue;
        }
        logMessage(openLine);
        openLine.clear();
    }
}

const std::deque<std::string>& messageLog() { return logLines; }

void setMessageListener(MessageListener newListener) { listener = newListener; }
