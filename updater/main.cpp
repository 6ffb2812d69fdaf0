#include <windows.h>

#include "updater/globals.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { updater::updaterEntry(); }
