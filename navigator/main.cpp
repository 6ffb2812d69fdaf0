#include <windows.h>

#include "navigator/handlers.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return navigator::programEntry(); }
