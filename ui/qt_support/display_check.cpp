#include "ui/qt_support/display_check.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A platform chosen by name that is neither X11 nor Wayland needs no display.
bool NeedsNoDisplay(std::string_view platform) {
  return !platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0;
}

}  // namespace

bool HasDisplay(int argc, const char* const* argv) {
#if defined(_WIN32) || defined(__APPLE__)
  (void)argc;
  (void)argv;
  return true;
#else
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return true;
  // Qt's own argument wins over the environment.
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg == "-platform" || arg == "--platform") return NeedsNoDisplay(argv[i + 1]);
  }
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return platform != nullptr && NeedsNoDisplay(platform);
#endif
}

int RefuseWithoutDisplay(int argc, const char* const* argv) {
  if (HasDisplay(argc, argv)) return 0;
  std::fprintf(stderr, "%s\n", kNoDisplayLine);
  return kNoDisplayExit;
}
