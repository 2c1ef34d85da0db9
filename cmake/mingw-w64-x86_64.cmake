# Cross-building the Qt-free programs for 64-bit Windows with Debian's
# mingw-w64 (the posix thread model, which std::thread needs). The programs
# carry their C++ runtime inside them, so they start anywhere, wine included,
# without DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KIV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KIV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KIV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The tests run through wine. Debian's wine64 package puts its loader here;
# a wine on the search path (the wine package) does as well.
find_program(KIV_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KIV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KIV_WINE})
endif()
