#pragma once
// The files that the template compiler writes for a program.
#include <string>

#include "tools/tplc/window_source.h"

namespace tplc {

struct Outputs {
  std::string dir;        // ${CMAKE_BINARY_DIR}/generated
  std::string name;       // navigator: navigator_segment.cpp, navigator_handlers.h/.cpp,
                          // navigator_units.h, navigator.seg
  std::string nameSpace;  // the C++ namespace of the generated functions
};

// Writes NAME.seg (the raw segment), NAME_segment.cpp, NAME_handlers.h,
// NAME_handlers.cpp and NAME_units.h (window ids and `ref` units). Throws CompileError
// when a file cannot be written.
void emitProgram(const Program& program, const forms::ByteSet& segment, const Outputs& out);

// A make-style depfile naming every input, for the build to rerun on any change.
void writeDepfile(const std::string& depfile, const std::string& target, const Program& program);

}  // namespace tplc
