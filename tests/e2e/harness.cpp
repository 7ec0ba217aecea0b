#include "e2e/harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/profile.h"
#include "app/startup_entry.h"
#include "ui/main_window.h"

std::string murevaExe() {
  const char* path = std::getenv("MUREVA_EXE");
  return path ? windowsPath(path) : std::string();
}

ProgramFolder::ProgramFolder() {
  EXPECT_TRUE(CopyFileA(murevaExe().c_str(), exe().c_str(), FALSE)) << "copy " << murevaExe();
}

std::string ProgramFolder::profilePath() const {
  return folder_ / kProfileFileName;
}

void ProgramFolder::writeProfile(const std::string& text) const {
  writeFile(profilePath(), text);
}

std::string ProgramFolder::profileBytes() const {
  return readFile(profilePath());
}

std::string ProgramFolder::profileValue(const char* section, const char* key) const {
  std::vector<char> value(10240);
  GetPrivateProfileStringA(section, key, "<missing>", value.data(), 10240, profilePath().c_str());
  return value.data();
}

RunningProgram::RunningProgram(const ProgramFolder& folder, const std::string& commandTail) {
  std::string line = "\"" + folder.exe() + "\"" + commandTail;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // Wine now and then refuses a start right after the previous run of the same exe was ended
  // (ERROR_INTERNAL_ERROR); a second try a moment later goes through.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(300);
    std::string commandLine = line;
    started = CreateProcessA(folder.exe().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                             nullptr, folder.path().c_str(), &startup, &process_) != FALSE;
    if (!started) error = GetLastError();
  }
  if (!started) {
    ADD_FAILURE() << "cannot start " << line << ": " << error;
    process_ = PROCESS_INFORMATION{};
    return;
  }
  WaitForInputIdle(process_.hProcess, 15000);
  // The window can be listed while its creation is still running; a message sent to it is
  // handled only once the program waits for messages, that is, after its start-up.
  DWORD start = GetTickCount();
  while (!window() && alive() && GetTickCount() - start < 15000) Sleep(20);
  sync();
}

RunningProgram::~RunningProgram() {
  if (!started()) return;
  if (alive()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK matchSettingsWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == kMainWindowClass) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND RunningProgram::window() const {
  WindowSearch search{process_.dwProcessId, nullptr};
  if (started()) EnumWindows(matchSettingsWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool RunningProgram::visible() const {
  HWND w = window();
  return w && IsWindowVisible(w);
}

bool RunningProgram::alive() const {
  return started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::waitForExit(DWORD timeoutMs) const {
  return started() && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RunningProgram::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (started()) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void RunningProgram::requestClose() const {
  DWORD_PTR result;
  SendMessageTimeoutA(window(), WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result);
}

void RunningProgram::sync() const {
  DWORD_PTR result;
  HWND w = window();
  if (w) SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

std::string startupValue(HKEY root) {
  HKEY key;
  if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "<none>";
  char data[1024];
  DWORD size = sizeof data;
  LONG status = RegQueryValueExA(key, kStartupValueName, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || size == 0) return "<none>";
  return std::string(data, size - 1);
}

void clearStartupValues() {
  deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
}

void setStartupValue(HKEY root, const std::string& data) {
  HKEY key;
  if (RegCreateKeyA(root, kRunKey, &key) != ERROR_SUCCESS) return;
  RegSetValueExA(key, kStartupValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
}
