#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// What a message box showed before the watcher closed it.
struct SeenMessageBox {
  std::string caption;
  std::string text;
  HICON icon = nullptr;  // the icon the box shows, null when none
  bool topmost = false;
  bool hasOwner = false;
};

// Watches this process for message boxes (dialogs of class #32770) from a second thread,
// records each one and closes it with its OK button, so a test can call code that shows one.
class MessageBoxWatch {
 public:
  MessageBoxWatch();
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  // The boxes seen so far; call after the code that shows them has returned.
  std::vector<SeenMessageBox> seen();

 private:
  void watch();

  std::atomic<bool> stop_{false};
  std::vector<SeenMessageBox> seen_;
  CRITICAL_SECTION lock_;
  std::thread thread_;
};
