#pragma once
#include <windows.h>

#include <string>

inline const char kDefaultMessageTitle[] = "Corvane：";

// The style of every box: the caller's flags, plus the exclamation icon when the flags hold no
// bit of the mask 48, plus system-modal. The values are added, not OR-ed.
UINT messageBoxStyle(UINT flags);

// Shows a system-modal message box without owner; returns the button that closed it.
int showMessage(const std::string& text, UINT flags = 0, const std::string& title = std::string());
