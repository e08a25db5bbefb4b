// The number of kernel handles this process holds, for tests that check
// that threads, events and sockets are released. GetProcessHandleCount
// where it answers; under Wine, which leaves it at 0, the system's handle
// table (NtQuerySystemInformation, SystemHandleInformation) filtered by our
// process id. 0 when neither is available.
#pragma once

#include <cstddef>

size_t OwnHandleCount();
