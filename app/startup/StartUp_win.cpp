#include "app/startup/StartUp_win.h"

#include <process.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/dialogs/AppMessageBox_win.h"
#include "config/ServerSetFile_win.h"
#include "base/Log.h"
#include "config/ServerSet.h"
#include "model/OwnFileVersion_win.h"
#include "model/SelfUpdate.h"
#include "model/UpdateSignature_win.h"
#include "net/platform/PlatformThreads_win.h"

namespace {

// Starts proc and waits for it at most waitMs; true when it ended in time.
// The handle is closed either way: a thread that outlives its wait runs on.
bool RunThreadWithin(unsigned(__stdcall* proc)(void*), DWORD waitMs) {
  uintptr_t handle = _beginthreadex(nullptr, 0, proc, nullptr, 0, nullptr);
  if (!handle) return false;
  HANDLE thread = reinterpret_cast<HANDLE>(handle);
  bool ended = WaitForSingleObject(thread, waitMs) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}

// The first bytes of a file (fewer when it is shorter or cannot be read).
size_t ReadHead(const std::string& path, char* head, size_t size) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return 0;
  size_t n = fread(head, 1, size, file);
  fclose(file);
  return n;
}

void CopyBounded(char* to, size_t size, const std::string& from) {
  size_t n = from.size() < size - 1 ? from.size() : size - 1;  // already cut by UpdateSourcePath
  memcpy(to, from.data(), n);
  to[n] = '\0';
}

// Whether the signature published beside the downloaded update verifies
// with the configured key. A key that is set but malformed verifies
// nothing: a deployment that meant to sign never installs unverified code.
bool UpdateSignatureVerifies(const UpdateCheckSettings& settings, const char* keyText) {
  uint8_t key[vt::kUpdatePublicKeySize];
  bool keyUsable = vt::ParseUpdatePublicKey(keyText, key);
  vt::SignatureCheck check = vt::SignatureCheck::Missing;
  if (RunThreadWithin(settings.signatureThread ? settings.signatureThread : UpdateSignatureThread,
                      settings.signatureWaitMs)) {
    vt::SignatureCheck form = vt::SignatureForm(UpdateSignatureFetched, UpdateSignature);
    check = form != vt::SignatureCheck::Valid ? form
            : keyUsable ? vt::VerifyUpdateFile(key, UpdateDownloadPath(), UpdateSignature)
                        : vt::SignatureCheck::Invalid;
  }
  vt::LogFormat("update signature: %s%s\r\n", vt::SignatureCheckText(check),
                keyUsable ? "" : " (the configured key is not 128 hexadecimal digits)");
  return vt::SignatureAllowsInstall(true, check);
}

}  // namespace

bool UseServersOrExplain(int argc, char** argv) {
  const char* configPath = nullptr;
  std::string problem;
  for (int i = 1; i < argc && problem.empty(); ++i) {
    if (strcmp(argv[i], "--config") != 0) continue;
    if (configPath) {
      problem = "--config: given twice";
    } else if (i + 1 >= argc) {
      problem = "--config: no file named after it";
    } else {
      configPath = argv[++i];
    }
  }
  if (problem.empty() && vt::UseServersAtStartUp(configPath, &problem)) return true;
  std::string text = "服务器配置文件无法使用，程序将退出。\r\n\r\n" + problem;
  vt::ShowMessageBox(nullptr, text.c_str(), "Veltrane 配置错误", MB_OK | MB_ICONERROR);
  return false;
}

void LogUpdateSigning() {
  if (vt::Servers().updatePublicKey.empty())
    vt::LogLine("update signing: no key configured, updates are installed unverified");
}

void CheckForUpdate() { CheckForUpdate(UpdateCheckSettings{}); }

void CheckForUpdate(const UpdateCheckSettings& settings) {
  VersionPair own = settings.ownVersion ? settings.ownVersion() : OwnFileVersion();
  if (!RunThreadWithin(settings.versionThread ? settings.versionThread : VersionCheckThread,
                       settings.versionWaitMs))
    return;
  if (!IsNewerVersion(own, LatestVersion.GetData())) return;
  // A published file name that could not be used as a path and a word of the
  // copy command is not downloaded: start-up goes on as after a failed check,
  // without asking the user for an update that cannot happen.
  std::string fileName = UpdateFileName();
  if (fileName.empty()) return;
  vt::ShowMessageBox(nullptr, "版本需要升级，软件将自动关闭并至升级后打开", "升级提示", MB_OK);
  if (!RunThreadWithin(settings.downloadThread ? settings.downloadThread : UpdateDownloadThread,
                       settings.downloadWaitMs))
    return;
  // Only a whole download that is a Windows executable replaces this one: a
  // failed or cut download would otherwise be copied over the program (a
  // broken install) or restart the old one into the same check again.
  char head[2] = {};
  size_t headLen = ReadHead(UpdateDownloadPath(), head, sizeof head);
  if (!vt::UpdateInstallable(UpdateDownloadComplete, head, headLen)) return;
  const char* keyText =
      settings.updatePublicKey ? settings.updatePublicKey : vt::Servers().updatePublicKey.c_str();
  if (*keyText && !UpdateSignatureVerifies(settings, keyText)) {
    vt::ShowMessageBox(nullptr, "发布的升级程序未能通过签名验证，不会安装。\n软件将继续使用当前版本。",
                       "升级提示", MB_OK | MB_ICONWARNING);
    return;
  }
  (settings.replace ? settings.replace : ReplaceSelfAndRestart)(fileName.c_str());
}

void BuildReplacementCommand(const char* fileName, ReplacementCommand* command) {
  *command = ReplacementCommand{};
  DWORD n = GetEnvironmentVariableA("COMSPEC", command->interpreter, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) command->interpreter[0] = '\0';

  n = GetModuleFileNameA(nullptr, command->target, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) command->target[0] = '\0';
  // In place; on failure the long path stays (the command may then fail, as
  // a failed copy does: the old program starts again).
  char shortPath[MAX_PATH];
  n = GetShortPathNameA(command->target, shortPath, MAX_PATH);
  if (n > 0 && n < MAX_PATH) memcpy(command->target, shortPath, n + 1);

  char folder[MAX_PATH] = {};
  n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) folder[0] = '\0';
  n = GetShortPathNameA(folder, shortPath, MAX_PATH);
  if (n > 0 && n < MAX_PATH) memcpy(folder, shortPath, n + 1);
  CopyBounded(command->source, sizeof command->source, vt::UpdateSourcePath(folder, fileName));

  std::string parameters = vt::CopyCommandParameters(command->source, command->target);
  CopyBounded(command->parameters, sizeof command->parameters, parameters);
}

void ReplaceSelfAndRestart(const char* fileName) {
  static ReplacementCommand command;  // static: the process ends here anyway
  BuildReplacementCommand(fileName, &command);
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = nullptr;
  info.lpVerb = "Open";
  info.lpFile = command.interpreter;
  info.lpParameters = command.parameters;
  info.lpDirectory = nullptr;
  info.nShow = SW_HIDE;
  if (ShellExecuteExA(&info)) {
    // The copy must wait until this process is gone and its file released:
    // the command idles while this process exits at the highest priority.
    if (info.hProcess) SetPriorityClass(info.hProcess, IDLE_PRIORITY_CLASS);
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  }
  exit(0);
}
