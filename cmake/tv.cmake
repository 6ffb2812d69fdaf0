# Helper functions every area uses, so that each CMakeLists.txt stays a list of files.
#
#   tv_library(name [PORTABLE] SOURCES ... [LIBS ...])
#       A static library. PORTABLE code (no windows.h) builds in both the cross and the
#       host build; other libraries build only in the cross build.
#   tv_test(name [PORTABLE] SOURCES ... [LIBS ...] [ARGS ...])
#       A GoogleTest program registered with ctest (through Wine in the cross build).
#   tv_program(name SOURCES ... [LIBS ...] [DEST subdir] [CONSOLE])
#       A Windows program of the installation folder, built into build/dist/<DEST>.
#
# Includes are written from the top of the tree: #include "forms/values/text.h". What the
# build writes lies in TV_GENERATED_DIR and is included by that folder's name, from the top
# of the build: #include "generated/updater_units.h".

if(WIN32)
  set(TV_WIN32 ON)
else()
  set(TV_WIN32 OFF)
endif()

set(TV_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(TV_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

# Every text literal of the system is GBK; sources are UTF-8.
add_compile_options(-finput-charset=UTF-8 -fexec-charset=GBK -Wall -Wextra)

if(TV_WIN32)
  # The programs ship from the cross build: optimised unless a build type says otherwise
  # (without one, CMake compiles with no optimisation at all).
  if(NOT CMAKE_BUILD_TYPE)
    add_compile_options(-O2)
  endif()
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX WIN32_LEAN_AND_MEAN)
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  option(TV_SANITIZE "Host build with address and undefined-behaviour sanitizers" ON)
  if(TV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

function(tv_library name)
  cmake_parse_arguments(A "PORTABLE" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_PORTABLE AND NOT TV_WIN32)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# SCREEN: the test puts windows on the display; it then never runs beside the end-to-end
# tests, whose screenshots and keys would meet its windows.
function(tv_test name)
  cmake_parse_arguments(A "PORTABLE;SCREEN" "" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT A_PORTABLE AND NOT TV_WIN32)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name} ${A_ARGS} WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  if(A_PORTABLE)
    set_tests_properties(${name} PROPERTIES LABELS portable)
  else()
    set_tests_properties(${name} PROPERTIES LABELS win32)
  endif()
  if(A_SCREEN)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_display)
  endif()
endfunction()

function(tv_program name)
  cmake_parse_arguments(A "CONSOLE" "DEST" "SOURCES;LIBS" ${ARGN})
  if(NOT TV_WIN32)
    return()
  endif()
  if(A_CONSOLE)
    add_executable(${name} ${A_SOURCES})
  else()
    add_executable(${name} WIN32 ${A_SOURCES})
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TV_DIST_DIR}/${A_DEST})
endfunction()
