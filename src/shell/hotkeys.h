#pragma once
#include <windows.h>

#include <vector>

using HotkeyAction = void (*)();

// The global hot keys registered on the settings window, indexed by id - 1.
struct HotkeyTable {
  int keyCount = 0;
  std::vector<UINT> modifiers;
  std::vector<UINT> virtualKeys;
  std::vector<HotkeyAction> actions;
  WNDPROC hotkeyPreviousProc = nullptr;
};

void registerHotkeys(HWND window);
