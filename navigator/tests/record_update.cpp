// Stands in for the updater in end-to-end tests: writes the command line it was given,
// byte for byte, to command-line.txt in its own folder, and ends.
#include <windows.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, length);
  file.erase(file.find_last_of('\\') + 1);
  file += "command-line.txt";
  const char* line = GetCommandLineA();
  HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(out, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(out);
  return 0;
}
