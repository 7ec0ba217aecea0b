#include "support/program_fixture.h"

#include <utility>

#include "engine/change_timer.h"
#include "engine/rotation.h"
#include "ui/main_window.h"

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return condition();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void pumpFor(DWORD ms) {
  pumpUntil([] { return false; }, ms);
}

namespace {

StandInHook& hookSlot() {
  static StandInHook hook;
  return hook;
}

LRESULT CALLBACK standInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hookSlot()) {
    StandInHook hook = hookSlot();  // the hook may replace itself
    if (hook(message, wParam, lParam)) return 0;
  }
  if (message == WM_TIMER && wParam == 时钟刷新) {
    onChangeTimer();
    return 0;
  }
  if (message == kEndProgramMessage && hasGlobalState() && program().endRequested) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY && hasGlobalState() && program().mainWindow == window)
    program().mainWindow = nullptr;
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND createStandIn() {
  static ATOM atom = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = standInProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MurevaTestStandIn";
    return RegisterClassA(&windowClass);
  }();
  (void)atom;
  return CreateWindowExA(0, "MurevaTestStandIn", "stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

void ProgramTest::SetUp() {
  createGlobalState();
  window_ = createStandIn();
  program().mainWindow = window_;
  program().programDirectory = folder_.path();
  program().executableName = "Mureva.exe";
}

void setStandInHook(StandInHook hook) {
  hookSlot() = std::move(hook);
}

void ProgramTest::TearDown() {
  setStandInHook(nullptr);
  if (IsWindow(window_)) DestroyWindow(window_);
  releaseGlobalState();
  pumpFor(1);  // drops what the window left in the queue
}
