#pragma once
#include <cstdint>
#include <string>

// A boolean as the program stores it: 0 is false, any other value is true.
using Bool32 = int32_t;

// Every option of the program and the engine's position in the picture list. Texts are
// CP936 byte strings; an empty text stands for an absent one.
struct Settings {
  std::string pictureDirectory;
  Bool32 includeSubdirectories = 0;
  Bool32 randomOrder = 0;
  int32_t interval = 0;
  int32_t timeUnit = 0;      // 0 second, 1 minute, 2 hour, 3 day, 4 at log-in
  int32_t displayStyle = 0;  // 0 centre, 1 tile, 2 stretch
  Bool32 autoChange = 0;
  Bool32 startWithSystem = 0;
  int32_t currentIndex = 0;  // 1-based into the image list; 0 before the first change
  Bool32 trayInBackground = 0;
  std::string scannedDirectory;  // pictureDirectory as it was at the last scan
  Bool32 scannedWithSubdirectories = 0;
};
