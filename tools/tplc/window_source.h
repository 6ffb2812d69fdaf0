#pragma once
// The readable window sources that the template compiler turns into a segment.
//
// One window per file, UTF-8, one statement per line, '#' starts a comment:
//   highestSerial 0x10EF3            the program's highest serial in use
//   window MainWindow 0x52010001     the window and its id
//   unit 0x06010000 window           the window's own unit (entry 0), then one per unit:
//   unit 0x16010ED1 TransLabel 透明标签1
//     rect L T W H | parent NAME|window | children NAME|0 ... | flags V D T
//     pointer hand|N|@file | tag "t" | tabOrder N | on EVENT handlerName
//     ref NAME                        the program's code addresses the unit as NAME (a
//                                     C++ name; it goes to the units header, not the segment)
//     empty                           the property block is stored empty (all defaults)
//     version N                       the block's version (else the type's usual one)
//     page "caption" I0 I1 I2         PageControl: one page of the page table
//     FIELD VALUE                     a field of the type's table, by its name
// Values: numbers (decimal, 0x hex, negative), none (colour not set), "text" (escapes
// \" \\ \r \n \t; ${VAR} replaced from the definitions), @file (bytes of a file next to
// the source), imagelist @file (an ImageList_Write stream wrapped as an image-list
// block), font "face" HEIGHT WEIGHT CHARSET (a LOGFONTA), default (font: the GUI font).
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/template/model.h"

namespace tplc {

struct CompileError {
  std::string message;  // "file:line: what"
};

// A unit that the program's code addresses, by its `ref` name.
struct UnitRefName {
  std::string name;  // kLogBox
  forms::tpl::Id unit = 0;
  std::string unitName;  // as the source names the unit (UTF-8)
};

// The window ids and the named units of one window, for the program's units header.
struct WindowRefs {
  std::string window;  // MainWindow
  forms::tpl::Id id = 0;
  std::vector<UnitRefName> units;
};

struct Program {
  forms::tpl::Segment segment;
  std::vector<WindowRefs> refs;  // one per window, in source order
  std::uint32_t highestSerial = 0;
  std::set<std::string> handlers;   // every handler name the sources bind
  std::vector<std::string> inputs;  // files read (sources and pictures), for the depfile
};

using Definitions = std::map<std::string, std::string>;

// Adds one window source to the program; throws CompileError.
void compileWindowSource(const std::string& path, const std::string& text, const Definitions& defs,
                         Program& program);

// Fixes the design words from the highest serial once every window is in.
void finishProgram(Program& program);

}  // namespace tplc
