// vt-replay: stands in for ping or tracert in the engine tests. A test copies
// it as ping.exe or tracert.exe into a folder the command search reaches
// before the system folder (the current folder) and sets:
//   VT_REPLAY_FILE           the output to write, bytes unchanged (required)
//   VT_REPLAY_BYTE_DELAY_MS  write byte by byte with this pause (optional)
//   VT_REPLAY_HOLD_MS        stay running this long after writing (optional)
//   VT_REPLAY_ARGS           file that receives the command line (optional)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

DWORD EnvNumber(const char* name) {
  char value[32];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? static_cast<DWORD>(strtoul(value, nullptr, 10)) : 0;
}

void WriteAll(HANDLE out, const char* data, DWORD size) {
  DWORD written = 0;
  while (size > 0 && WriteFile(out, data, size, &written, nullptr) && written > 0) {
    data += written;
    size -= written;
  }
}

}  // namespace

int main() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("VT_REPLAY_ARGS", path, sizeof path);
  if (n > 0 && n < sizeof path) {
    HANDLE args = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (args != INVALID_HANDLE_VALUE) {
      const char* line = GetCommandLineA();
      WriteAll(args, line, static_cast<DWORD>(strlen(line)));
      CloseHandle(args);
    }
  }
  n = GetEnvironmentVariableA("VT_REPLAY_FILE", path, sizeof path);
  if (n == 0 || n >= sizeof path) {
    fprintf(stderr, "vt-replay: VT_REPLAY_FILE is not set\n");
    return 3;
  }
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "vt-replay: cannot open %s\n", path);
    return 3;
  }
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD delay = EnvNumber("VT_REPLAY_BYTE_DELAY_MS");
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    if (delay == 0) {
      WriteAll(out, buffer, got);
      continue;
    }
    for (DWORD i = 0; i < got; ++i) {
      WriteAll(out, buffer + i, 1);
      Sleep(delay);
    }
  }
  CloseHandle(file);
  if (DWORD hold = EnvNumber("VT_REPLAY_HOLD_MS")) Sleep(hold);
  return 0;
}
