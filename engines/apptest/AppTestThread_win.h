// The application experience test: seven sites probed one after the other.
#pragma once

#include <string>

// arg: the window to notify (may be null). Posts MSG_APP_ITEM_RESULT per site
// (wParam: mean Mbit/s x 1000, truncated; lParam: the site's index 1..7),
// then MSG_APP_TEST_DONE. Exit code 0.
unsigned __stdcall AppTestThread(void* arg);

// The URL of application site index (1..7): sites 1 to 6 of the server
// profile, 7 the platform's test image.
std::string AppTestSiteUrl(int index);
