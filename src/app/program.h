#pragma once
#include <windows.h>

#include <string>

#include "app/profile_store.h"
#include "app/settings.h"
#include "engine/change_timer.h"
#include "engine/image_list.h"
#include "engine/image_scan.h"
#include "engine/random_pick.h"
#include "shell/hotkeys.h"
#include "shell/tray_icon.h"

// Every record the running program keeps. One instance exists from createGlobalState to
// releaseGlobalState; nothing else in the program holds mutable state.
struct Program {
  Settings settings;
  ProfileStore profile;
  TrayIcon trayIcon;
  ImageList images;
  HotkeyTable hotkeys;
  UINT taskbarCreatedMessage = 0;
  std::string pickerInitialFolder;
  std::string programDirectory;  // the exe's folder, without a trailing backslash
  std::string executableName;    // the exe's file name
  HWND mainWindow = nullptr;     // null once the settings window has been destroyed
  ChangeTimer changeTimer;
  RandomGenerator random;
  ScanState scan;
  bool endRequested = false;  // endProgram asked for the window's deferred destruction
};

void createGlobalState();
void releaseGlobalState();
bool hasGlobalState();
Program& program();
