#pragma once
#include <windows.h>

inline const char kMainWindowTitle[] = "Corvane·Mureva(Nelo) v1.0";
inline const char kMainWindowClass[] = "CorvaneMurevaSettings";
constexpr int kMainWindowWidth = 496;
constexpr int kMainWindowHeight = 372;

// Posted by endProgram; the window destroys itself when it arrives and endProgram asked.
constexpr UINT kEndProgramMessage = WM_APP + 1;

// Creates the settings window hidden, centred on the primary screen. Its creation runs
// onMainWindowCreated. Returns null when the window could not be created.
HWND createMainWindow(HINSTANCE instance);

// Copies Settings into the window's controls and re-arms the change timer.
void refreshControls();
