// Every line Kalvora says to the user: printed on the console as it always was, and kept in a log
// that the help window shows.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

// How many of the newest lines the log keeps.
constexpr std::size_t kMessageLogLines = 1000;

// Prints as printf would, byte for byte, and keeps every line the text completes in the log.
void printMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Keeps a line in the log only: the console stays as it is (a save that works prints nothing).
void logMessage(const std::string& line);

// The kept lines, oldest first, each without its line end.
const std::deque<std::string>& messageLog();

// Called with each line as it enters the log; none by default. Set by the help window.
using MessageListener = void (*)(const std::string& line);
void setMessageListener(MessageListener listener);
