# Shared part of the MinGW-w64 toolchain files; the including file sets TV_MINGW_ARCH
# (i686 or x86_64) first. Uses the posix-threads compilers, since std::thread and
# std::mutex need them, and finds the cross-built dependencies in .deps/<arch>.
get_filename_component(TV_TREE ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(TV_MINGW_TRIPLE ${TV_MINGW_ARCH}-w64-mingw32)
set(TV_DEPS_PREFIX ${TV_TREE}/.deps/${TV_MINGW_ARCH})

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TV_MINGW_ARCH})
set(CMAKE_C_COMPILER ${TV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TV_MINGW_TRIPLE} ${TV_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Areas link the dependencies by their plain names (jpeg, minizip, z), so the prefix
# has to be on the compiler's and linker's own search paths.
set(CMAKE_C_FLAGS_INIT "-isystem ${TV_DEPS_PREFIX}/include")
set(CMAKE_CXX_FLAGS_INIT "-isystem ${TV_DEPS_PREFIX}/include")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${TV_DEPS_PREFIX}/lib")

# ctest runs every test program through Wine with the project's prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TV_TREE}/scripts/wine-run)
