#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "app/program.h"
#include "support/temp_folder.h"

// Runs this thread's messages until the condition holds or the time is up; returns the
// condition's last value.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Runs this thread's messages for a while.
void pumpFor(DWORD ms);

// Called first for every message of the stand-in window; true means handled. Cleared by
// ProgramTest::TearDown.
using StandInHook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
void setStandInHook(StandInHook hook);

// The program's global state around a test, with a hidden stand-in for the settings window
// (it carries the change timer) and a temporary program folder.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempFolder folder_;
  HWND window_ = nullptr;
};
