#include "app/startup.h"

#include "app/profile.h"
#include "app/program.h"
#include "app/startup_entry.h"
#include "engine/change_timer.h"
#include "engine/rotation.h"
#include "shell/hotkeys.h"
#include "shell/tray_icon.h"
#include "ui/main_window.h"

ModulePath splitModulePath(const std::string& path) {
  size_t separator = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\') {
      separator = i;
    }
  }
  if (separator == std::string::npos) return {std::string(), path};
  return {path.substr(0, separator), path.substr(separator + 1)};
}

namespace {

bool isSeparator(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}
bool isDoubleByteLead(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// Where the arguments start: after the program name and the one space that ends it.
const char* skipProgramName(const char* p) {
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
    if (*p == ' ') ++p;
    return p;
  }
  while (*p && *p != ' ') ++p;
  if (*p == ' ') ++p;
  return p;
}

// Appends one character (two bytes for a double-byte one) and returns what follows it.
const char* takeCharacter(const char* p, std::string& out) {
  out += *p;
  if (isDoubleByteLead(*p) && p[1]) out += *++p;
  return p + 1;
}

}  // namespace

std::string commandLineText(const char* commandLine) {
  if (!commandLine) return std::string();
  std::string joined;
  const char* p = skipProgramName(commandLine);
  while (*p) {
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') p = takeCharacter(p, joined);
      if (*p == '"') ++p;
    } else if (isSeparator(*p)) {
      ++p;
    } else {
      while (*p && !isSeparator(*p) && *p != '"') p = takeCharacter(p, joined);
    }
  }
  return joined;
}

std::string commandLineText() {
  return commandLineText(GetCommandLineA());
}

namespace {

// Runs releaseGlobalState once, however runProgram is left.
struct GlobalStateScope {
  GlobalStateScope() { createGlobalState(); }
  ~GlobalStateScope() { releaseGlobalState(); }
};

struct OleScope {
  OleScope() { OleInitialize(nullptr); }
  ~OleScope() { OleUninitialize(); }
};

ModulePath runningModulePath() {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return splitModulePath(std::string(path, length < sizeof path ? length : sizeof path - 1));
}

}  // namespace

int runProgram(HINSTANCE instance) {
  OleScope ole;
  ModulePath module = runningModulePath();
  SetCurrentDirectoryA(module.directory.c_str());
  GlobalStateScope globalState;
  program().programDirectory = module.directory;
  program().executableName = module.fileName;
  program().taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  if (!createMainWindow(instance)) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

void onMainWindowCreated() {
  Program& p = program();
  if (commandLineText() != kBackgroundWord) ShowWindow(p.mainWindow, SW_SHOW);
  registerHotkeys(p.mainWindow);
  p.profile.open(p.programDirectory + "\\" + kProfileFileName);
  loadProfile();
  chooseRunMode();
  // A hot key handled during a scan of chooseRunMode may already have ended the program.
  if (program().mainWindow) refreshControls();
}

void chooseRunMode() {
  Program& p = program();
  if (!p.settings.autoChange) ShowWindow(p.mainWindow, SW_SHOW);
  bool hidden = !IsWindowVisible(p.mainWindow);
  if (p.settings.timeUnit == 4) {
    if (hidden) {
      changeWallpaper();
      endProgram();
    }
    return;
  }
  armTimer();
  if (hidden) enterBackground();
}

bool onMainWindowClosing() {
  closeMainWindow();
  return false;
}

void closeMainWindow() {
  Program& p = program();
  saveProfile();
  ShowWindow(p.mainWindow, SW_HIDE);
  if (p.settings.autoChange) {
    enterBackground();
  } else {
    endProgram();
  }
}

void endProgram() {
  Program& p = program();
  p.endRequested = true;
  if (p.mainWindow) PostMessageA(p.mainWindow, kEndProgramMessage, 0, 0);
}
