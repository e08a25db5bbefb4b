#include "engines/apptest/AppTestThread_win.h"

#include <windows.h>

#include <cstdint>

#include "base/Messages.h"
#include "config/ServerSet.h"
#include "engines/apptest/AppSpeed.h"
#include "net/http/HttpClient_win.h"

std::string AppTestSiteUrl(int index) {
  if (index >= 1 && index <= 6) return vt::Servers().AppTestSites[index - 1];
  if (index == 7) return "http://" + vt::Servers().platformServer + "/images/testing.png";
  return std::string();
}

unsigned __stdcall AppTestThread(void* arg) {
  HWND window = static_cast<HWND>(arg);
  for (int index = 1; index <= 7; ++index) {
    double speed = vt::ProbeDownloadSpeed(AppTestSiteUrl(index).c_str(), 3);
    if (window) PostMessageA(window, vt::MSG_APP_ITEM_RESULT, vt::AppSpeedThousandths(speed), index);
  }
  if (window) PostMessageA(window, vt::MSG_APP_TEST_DONE, 0, 0);
  return 0;
}
