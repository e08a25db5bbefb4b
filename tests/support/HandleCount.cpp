#include "tests/support/HandleCount.h"

#include <windows.h>

#include <vector>

namespace {

struct HandleEntry {  // SYSTEM_HANDLE_TABLE_ENTRY_INFO
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ULONG access;
};

struct HandleTable {  // SYSTEM_HANDLE_INFORMATION
  ULONG count;
  HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

}  // namespace

size_t OwnHandleCount() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return n;
  auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<char> buffer(1 << 20);
  for (int tries = 0; tries < 6; ++tries) {
    ULONG needed = 0;
    LONG status = query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      auto* table = reinterpret_cast<HandleTable*>(buffer.data());
      size_t own = 0;
      DWORD pid = GetCurrentProcessId();
      for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].ownerPid == pid) ++own;
      return own;
    }
    if (status != static_cast<LONG>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */) return 0;
    buffer.resize(buffer.size() * 4);
  }
  return 0;
}
