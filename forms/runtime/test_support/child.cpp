// A child program for the tests whose subject is a whole process: runtime errors and
// their exit codes, the end routine, and what a started program receives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "forms/runtime/runtime.h"
#include "test_support/test_segment.h"
#include "forms/runtime/window_thread.h"
#include "forms/units/unit_table.h"

using namespace forms;
using namespace test_support;

namespace {

constexpr WindowId kWin = 0x52000001;
constexpr WindowId kOther = 0x52000010;

void endRoutine() {
  if (const char* marker = std::getenv("TV_END_MARKER")) {
    if (FILE* f = std::fopen(marker, "ab")) {
      std::fputs("end\n", f);
      std::fclose(f);
    }
  }
}

ByteSet segment() {
  using T = UnitKind;
  tpl::UnitRecord own = unitRecord(T::Window, 0x06000002, 0, 0, 100, 80);
  tpl::UnitRecord label = unitRecord(T::Label, 0x16000003, 1, 1, 20, 20);
  tpl::UnitRecord other = unitRecord(T::Window, 0x06000011, 0, 0, 100, 80);
  tpl::UnitRecord otherLabel = unitRecord(T::Label, 0x16000012, 1, 1, 20, 20);
  return segmentOf({windowRecord(kWin, own, {label}), windowRecord(kOther, other, {otherLabel})});
}

void start() {
  startRuntime(unitTable(), static_cast<const HandlerEntry*>(nullptr), 0, segment());
  registerEndRoutine(endRoutine);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "showwindow" && argc > 2) {
    STARTUPINFOA si{};
    GetStartupInfoA(&si);
    if (FILE* f = std::fopen(argv[2], "w")) {
      std::fprintf(f, "%d\n", (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1);
      std::fclose(f);
    }
    return 0;
  }
  if (mode == "windowonly") {
    // The runtime creates only the types of the table it is given: the start window
    // holds a label, so it does not load.
    static const UnitTable kWindowOnly{
        {{UnitKind::Window, unitTable().factoryOf(UnitKind::Window)}}};
    startRuntime(kWindowOnly, static_cast<const HandlerEntry*>(nullptr), 0, segment());
    loadStartWindow(kWin);
    return 3;
  }
  if (mode == "badsegment") {
    startRuntime(unitTable(), static_cast<const HandlerEntry*>(nullptr), 0,
                 ByteSet{16, 0, 0, 0, 1, 2});
    return 3;
  }
  start();
  if (mode == "heap") {
    volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
    char* volatile p = new char[huge];
    p[0] = 0;
  }
  if (mode == "nostart") loadStartWindow(0x52999999);
  if (mode == "array") raiseRuntimeError(4);
  if (mode == "notloaded") getUnitProperty(UnitRef{kOther, 0x16000012}, 8);
  if (mode == "unknownwindow") getUnitProperty(UnitRef{0x52777777, 0x16000012}, 0);
  if (mode == "eventunit") {
    loadStartWindow(kWin);
    raiseFeedbackEvent(UnitRef{kWin, 0x16000003});
    copyWindowUnit(UnitRef{kWin, 0x16000003}, UnitKind::Label, *new UnitRef);
    endProgram(6);
  }
  if (mode == "endthread") {
    loadStartWindow(kWin);
    std::thread([] { endProgram(5); }).detach();
    runMessageLoop();
    return 9;
  }
  if (mode == "loopend" || mode == "latecall") {
    loadStartWindow(kWin);
    PostMessageW(
        reinterpret_cast<HWND>(getUnitWindowHandle(UnitRef{kWin, 0x06000002}, UnitKind::Window)),
        WM_CLOSE, 0, 0);
    runMessageLoop();
    if (mode == "loopend") return 0;
    // After the end, another thread's work is refused and never runs.
    bool accepted = false, ran = false;
    std::thread([&] {
      accepted = runOnWindowThread([&] { ran = true; });
      accepted = postToWindowThread([&] { ran = true; }) || accepted;
    }).join();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return accepted || ran ? 8 : 7;
  }
  return 2;
}
