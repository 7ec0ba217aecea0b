#pragma once
#include <windows.h>

#include <string>

#include "support/temp_folder.h"

// The e2e tests drive the real Mureva.exe, built beside them, from a fresh temporary program
// folder, and read back what it leaves: its window, its profile, the registry, its files.

std::string murevaExe();

// A temporary program folder holding a copy of Mureva.exe.
class ProgramFolder {
 public:
  ProgramFolder();
  const std::string& path() const { return folder_.path(); }
  std::string operator/(const std::string& name) const { return folder_ / name; }
  std::string exe() const { return folder_ / "Mureva.exe"; }
  std::string profilePath() const;
  void writeProfile(const std::string& text) const;
  std::string profileBytes() const;
  // A value of the profile as the program would read it, "<missing>" when absent.
  std::string profileValue(const char* section, const char* key) const;

 private:
  TempFolder folder_;
};

// One run of the program. The constructor starts it with the quoted exe path followed by
// commandTail and waits until it is idle or has ended; the destructor ends a live run.
class RunningProgram {
 public:
  RunningProgram(const ProgramFolder& folder, const std::string& commandTail = std::string());
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD processId() const { return process_.dwProcessId; }
  // The settings window of this process, null when there is none.
  HWND window() const;
  bool visible() const;
  bool alive() const;
  bool waitForExit(DWORD timeoutMs) const;
  DWORD exitCode() const;
  // Sends a close request (the title-bar close button's WM_CLOSE) and waits for its handling.
  void requestClose() const;
  // Waits until the program has handled everything sent before.
  void sync() const;

 private:
  PROCESS_INFORMATION process_{};
};

// The start-up value under a root's Run key, "<none>" when absent.
std::string startupValue(HKEY root);
void clearStartupValues();
void setStartupValue(HKEY root, const std::string& data);
