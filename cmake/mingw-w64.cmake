# Cross-builds for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-win --toolchain cmake/mingw-w64.cmake
# The posix thread model, for std::thread and std::mutex. libgcc, libstdc++ and winpthread are
# linked statically, so the programs and DLLs need no runtime DLLs beside them. Where Wine is
# installed, ctest runs the tests with it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RIZARI_MINGW_TARGET x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${RIZARI_MINGW_TARGET}-gcc-posix ${RIZARI_MINGW_TARGET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${RIZARI_MINGW_TARGET}-g++-posix ${RIZARI_MINGW_TARGET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${RIZARI_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RIZARI_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

find_program(RIZARI_WINE NAMES wine64 wine)
if(RIZARI_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RIZARI_WINE})
endif()
