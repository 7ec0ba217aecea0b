#pragma once
#include <string>

// A REG_SZ value under HKCU "Control Panel\Desktop", "<none>" when absent or of another type.
std::string desktopValue(const char* name);
