// Resource ids of veltrane.exe, shared by app/veltrane.rc and the code that
// loads them.
#pragma once

#define IDI_VELTRANE 1    // application icon
#define IDR_SKIN_ZIP 102  // skin archive, resource type "ZIPRES"
