// Stand-in for the navigator in the updater's end-to-end tests: records how it was
// started (its own path, then its command line, one line each) in started.log next to
// itself, and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char log[MAX_PATH + 16] = "";
  std::strcpy(log, path);
  if (char* slash = std::strrchr(log, '\\')) std::strcpy(slash + 1, "started.log");
  if (FILE* f = std::fopen(log, "ab")) {
    std::fprintf(f, "%s\n%s\n", path, GetCommandLineA());
    std::fclose(f);
  }
  return 0;
}
