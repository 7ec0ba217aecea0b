#include "ui/main_window.h"

#include "app/program.h"
#include "app/startup.h"
#include "engine/change_timer.h"
#include "engine/rotation.h"

namespace {

constexpr int kIconResource = 1;

void setProgramIcon(HWND window, HINSTANCE instance) {
  auto load = [&](int size) {
    return reinterpret_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON, size, size, LR_SHARED));
  };
  SendMessageA(window, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(load(GetSystemMetrics(SM_CXICON))));
  SendMessageA(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(load(GetSystemMetrics(SM_CXSMICON))));
}

LRESULT onCreate(HWND window, const CREATESTRUCTA* create) {
  program().mainWindow = window;
  setProgramIcon(window, create->hInstance);
  onMainWindowCreated();
  return 0;
}

LRESULT onDestroy() {
  // From here on nothing may reach the window or its timer.
  program().mainWindow = nullptr;
  program().changeTimer.period = 0;
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return onCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_CLOSE:
      onMainWindowClosing();
      return 0;
    case WM_TIMER:
      if (wParam == 时钟刷新) onChangeTimer();
      return 0;
    case kEndProgramMessage:
      // Only endProgram's own request counts; a message forged by another process does not.
      if (program().endRequested) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      return onDestroy();
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND createMainWindow(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);
  int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle,
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                         kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, nullptr);
}

// The controls come with the settings window's own work; until then this re-arms the timer
// as the time-unit list's handler does at the end of the refresh.
void refreshControls() {
  armTimer();
}
