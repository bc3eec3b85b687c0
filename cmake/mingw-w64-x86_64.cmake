# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model, because GoogleTest needs std::mutex, which GCC 12's win32 model lacks.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VOKARI_MINGW_TRIPLE x86_64-w64-mingw32)

# The suffixed names do not depend on which thread model the alternatives system points at.
find_program(CMAKE_C_COMPILER NAMES ${VOKARI_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VOKARI_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VOKARI_MINGW_TRIPLE}-windres REQUIRED)

# Headers and libraries come from the mingw sysroot only; programs run on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VOKARI_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
