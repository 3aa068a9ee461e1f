# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for std::thread).
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVELO_BUILD_UI=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables run under Wine, or are copied elsewhere, without DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test executables run through Wine; the wrapper gives them their own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
