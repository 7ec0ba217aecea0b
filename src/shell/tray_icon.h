#pragma once
#include <windows.h>

// The notification-area icon record, zero until the icon is first shown.
struct TrayIcon {
  NOTIFYICONDATAA data{};
};

// Sends the program into the background: the window is already hidden.
void enterBackground();
