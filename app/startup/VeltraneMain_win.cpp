// Entry point of veltrane.exe.
#include <windows.h>

#include "app/startup/VeltraneApp_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunVeltrane(instance); }
