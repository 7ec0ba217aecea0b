#pragma once
#include <windows.h>

#include <string>

struct ModulePath {
  std::string directory;  // before the last backslash; empty when there is none
  std::string fileName;   // after it; the whole path when there is none
};

// Splits an exe path at its last backslash; a 5C byte that ends a double-byte character of
// the ANSI code page is no separator.
ModulePath splitModulePath(const std::string& path);

// The arguments of a command line joined without separators (the program name skipped).
std::string commandLineText(const char* commandLine);
// The same for this process's command line.
std::string commandLineText();

// The whole life of the program: start-up, message loop, release. Returns the exit code.
int runProgram(HINSTANCE instance);

// Reads the command line and the profile and decides how the program runs.
void onMainWindowCreated();
void chooseRunMode();
// The close request of the settings window: always refused; closeMainWindow decides.
bool onMainWindowClosing();
void closeMainWindow();
// Asks for the settings window's destruction once the current message has been handled.
void endProgram();
