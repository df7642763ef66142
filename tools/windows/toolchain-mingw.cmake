# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers
# (the posix thread model, which std::thread and Qt need).
#
# The Qt built for Windows is found when its prefix is in VELMORA_WIN_QT_PREFIX
# (a cache variable or an environment variable); Qt's own qt-cmake adds it too.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${VELMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VELMORA_MINGW_TRIPLE}-windres)

if(NOT VELMORA_WIN_QT_PREFIX AND DEFINED ENV{VELMORA_WIN_QT_PREFIX})
  set(VELMORA_WIN_QT_PREFIX "$ENV{VELMORA_WIN_QT_PREFIX}")
endif()

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLE})
if(VELMORA_WIN_QT_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH "${VELMORA_WIN_QT_PREFIX}")
  list(APPEND CMAKE_PREFIX_PATH "${VELMORA_WIN_QT_PREFIX}")
endif()
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
# The checks CMake compiles on its own see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_WIN_QT_PREFIX)

# Programs run here (moc, rcc, uic come from the Debian host Qt); headers,
# libraries and packages only from the Windows side.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
