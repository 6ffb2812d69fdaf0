// tplc: compiles a program's window sources into its template segment and the C++ that
// carries it.
//   tplc --out DIR --name NAME --namespace NS [--depfile FILE] [-D VAR=VALUE]... SOURCE...
#include <cstdio>
#include <cstring>
#include <optional>

#include "forms/template/segment.h"
#include "forms/values/read_file.h"
#include "tools/tplc/emit.h"
#include "tools/tplc/window_source.h"

int main(int argc, char** argv) {
  tplc::Outputs out;
  tplc::Definitions defs;
  std::string depfile;
  std::vector<std::string> sources;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "tplc: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--out")
      out.dir = value();
    else if (a == "--name")
      out.name = value();
    else if (a == "--namespace")
      out.nameSpace = value();
    else if (a == "--depfile")
      depfile = value();
    else if (a == "-D") {
      std::string d = value();
      auto eq = d.find('=');
      if (eq == std::string::npos) {
        std::fprintf(stderr, "tplc: -D VAR=VALUE\n");
        return 2;
      }
      defs[d.substr(0, eq)] = d.substr(eq + 1);
    } else
      sources.push_back(a);
  }
  if (out.dir.empty() || out.name.empty() || out.nameSpace.empty() || sources.empty()) {
    std::fprintf(
        stderr,
        "usage: tplc --out DIR --name NAME --namespace NS [--depfile F] [-D V=X]... SOURCE...\n");
    return 2;
  }
  try {
    tplc::Program program;
    for (const std::string& path : sources) {
      const std::optional<forms::ByteSet> bytes = forms::readWholeFile(path);
      if (!bytes) throw tplc::CompileError{"cannot read " + path};
      const std::string text(bytes->begin(), bytes->end());
      tplc::compileWindowSource(path, text, defs, program);
    }
    tplc::finishProgram(program);
    forms::ByteSet segment = forms::tpl::writeSegment(program.segment);
    // What we write must read back: the same reader the programs use checks it.
    if (!forms::tpl::readSegmentRecords(segment))
      throw tplc::CompileError{"the written segment does not read back"};
    tplc::emitProgram(program, segment, out);
    if (!depfile.empty()) tplc::writeDepfile(depfile, out.dir + "/" + out.name + ".seg", program);
  } catch (const tplc::CompileError& e) {
    std::fprintf(stderr, "tplc: %s\n", e.message.c_str());
    return 1;
  }
  return 0;
}
