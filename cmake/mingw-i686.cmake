# Cross build of the two 32-bit Windows programs: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(TV_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
