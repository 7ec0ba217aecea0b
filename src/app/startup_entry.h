#pragma once
#include <windows.h>

#include <string>

inline const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const char kStartupValueName[] = "Corvane·Mureva";
inline const char kBackgroundWord[] = "后台";

// The command the system runs at log-in: the quoted exe path, a space and the word 后台.
std::string startupValueData(const std::string& programDirectory,
                             const std::string& executableName);

// Writes the start-up value under machineRoot; where that is refused (a user without
// administrator rights), under userRoot instead. Only one of the two is left holding it, so
// the program never starts twice at log-in. Returns whether either holds the data now.
bool writeStartupValue(HKEY machineRoot, HKEY userRoot, const std::string& data);

// Deletes the start-up value from both roots.
void deleteStartupValue(HKEY machineRoot, HKEY userRoot);

// Writes or deletes the start-up value as startWithSystem says.
void syncStartupEntry();
