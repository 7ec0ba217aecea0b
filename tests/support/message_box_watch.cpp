#include "support/message_box_watch.h"

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK findBox(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (processId == search.processId && std::string(className) == "#32770" &&
      IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

struct Parts {
  std::string text;
  HICON icon = nullptr;
};

BOOL CALLBACK readPart(HWND child, LPARAM context) {
  Parts& parts = *reinterpret_cast<Parts*>(context);
  char className[16] = "";
  GetClassNameA(child, className, sizeof className);
  if (std::string(className) != "Static") return TRUE;
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if ((style & SS_TYPEMASK) == SS_ICON) {
    parts.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  } else {
    char text[1024] = "";
    GetWindowTextA(child, text, sizeof text);
    if (parts.text.empty()) parts.text = text;
  }
  return TRUE;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch() {
  InitializeCriticalSection(&lock_);
  thread_ = std::thread([this] { watch(); });
}

MessageBoxWatch::~MessageBoxWatch() {
  stop_ = true;
  thread_.join();
  DeleteCriticalSection(&lock_);
}

std::vector<SeenMessageBox> MessageBoxWatch::seen() {
  EnterCriticalSection(&lock_);
  std::vector<SeenMessageBox> copy = seen_;
  LeaveCriticalSection(&lock_);
  return copy;
}

void MessageBoxWatch::watch() {
  HWND last = nullptr;
  while (!stop_) {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    if (search.found && search.found != last) {
      Sleep(50);  // let the box finish laying itself out
      SeenMessageBox box;
      char caption[256] = "";
      GetWindowTextA(search.found, caption, sizeof caption);
      box.caption = caption;
      Parts parts;
      EnumChildWindows(search.found, readPart, reinterpret_cast<LPARAM>(&parts));
      box.text = parts.text;
      box.icon = parts.icon;
      box.topmost = (GetWindowLongA(search.found, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      box.hasOwner = GetWindow(search.found, GW_OWNER) != nullptr;
      EnterCriticalSection(&lock_);
      seen_.push_back(box);
      LeaveCriticalSection(&lock_);
      PostMessageA(search.found, WM_COMMAND, IDOK, 0);
      last = search.found;
    }
    Sleep(20);
  }
}
