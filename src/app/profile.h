#pragma once

inline const char kProfileFileName[] = "Corvane·Mureva.ini";

// Reads the options from the profile into Settings; keeps the start-up value in step.
void loadProfile();
// Writes the nine options back; keeps the start-up value in step.
void saveProfile();
