# The same tree built for 64-bit Windows. Only for running the Win32 tests on machines
# whose kernel cannot execute 32-bit code (so the 32-bit Wine loader cannot start);
# the programs that ship are the 32-bit ones.
set(TV_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
