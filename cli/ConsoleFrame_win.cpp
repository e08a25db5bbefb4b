#include "cli/ConsoleFrame_win.h"

#include <cstdlib>
#include <ctime>

#include "base/Messages.h"

namespace vt {

namespace {
// Where a message carries a text: the hop address in wParam, the public
// address in lParam.
int TextOfMessage(UINT message, WPARAM wParam) {
  if (message == MSG_TRACE_HOP) return 1;
  if (message == MSG_TROUBLE_RESULT && wParam == TR_PUBLIC_IP) return 2;
  return 0;
}
}  // namespace

namespace {
int g_made = 0;
}  // namespace

ConsoleFrame::ConsoleFrame() : launcher_(new EngineLauncher), model_(new MainFrameModel(this, launcher_)) {
  ++g_made;
  launcher_->SetWindow(run_.window());
  srand(static_cast<unsigned>(time(nullptr)));  // the application page draws from it, as the window's does
}

void ConsoleFrame::Renew() {
  texts_.clear();
  rows_.clear();
  dialValue_ = 0;
  model_ = std::make_unique<MainFrameModel>(this, launcher_);
}

int ConsoleFrame::Made() { return g_made; }

bool ConsoleFrame::Run(const EngineRun::Handler& isEnd, DWORD timeoutMs, bool printJson,
                       const EngineRun::Handler& onMessage) {
  EngineRun::Handler handler = [&](const EngineMessage& m) {
    model_->HandleMessage(m.message, m.wParam, m.lParam);
    if (onMessage) onMessage(m);
    return isEnd(m);
  };
  return run_.Pump(handler, timeoutMs, printJson, TextOfMessage);
}

}  // namespace vt
