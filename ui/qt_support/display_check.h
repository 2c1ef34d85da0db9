#pragma once

// Kiv, TORBLEN and MIRVASTO need a window system. Without one Qt aborts with
// a message about its plugins that does not tell the user what to do, so
// each program asks this before Qt starts.

// The line printed, on standard error, by a program that cannot open a
// window; it then ends with kNoDisplayExit.
inline constexpr char kNoDisplayLine[] = "no display: set DISPLAY or use kiv-batch";
inline constexpr int kNoDisplayExit = 2;

// False when no window can be opened: on X11 and Wayland systems, neither
// DISPLAY nor WAYLAND_DISPLAY is set and no platform that needs none
// (offscreen, minimal, vnc, ...) is named by QT_QPA_PLATFORM or by Qt's own
// "-platform NAME" argument. Always true on Windows.
bool HasDisplay(int argc, const char* const* argv);

// Prints kNoDisplayLine and gives kNoDisplayExit when there is no display;
// 0 when the program may go on.
int RefuseWithoutDisplay(int argc, const char* const* argv);
