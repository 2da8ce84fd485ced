// What a desktop knows Kalvora's windows by: the window class the desktop entry names
// (StartupWMClass) and Kalvora's icon, so that a taskbar shows Kalvora's name and picture.
#pragma once

constexpr const char* kWindowClass = "kalvora";

// Gives every window shown from now on the class kWindowClass and Kalvora's icon (the 48 and 128
// pixel pictures, carried in the program).
void useKalvoraWindowIdentity();
