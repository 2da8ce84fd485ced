// Kalvora's window class and icon for every window it shows.
#include "app/WindowIdentity.h"

#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Window.H>

#include <cstddef>

// The icon's PNG files, made into arrays by the build (cmake/EmbedFile.cmake).
extern const unsigned char kWindowIcon48[], kWindowIcon128[];
extern const std::size_t kWindowIcon48_size, kWindowIcon128_size;

void useKalvoraWindowIdentity() {
    Fl_Window::default_xclass(kWindowClass);
    const Fl_PNG_Image small(nullptr, kWindowIcon48, static_cast<int>(kWindowIcon48_size));
    const Fl_PNG_Image large(nullptr, kWindowIcon128, static_cast<int>(kWindowIcon128_size));
    const Fl_RGB_Image* icons[] = {&small, &large};
    Fl_Window::default_icons(icons, 2);  // FLTK keeps copies
}
