#include "engine/rotation.h"

#include <windows.h>
#include <shellapi.h>

#include "app/program.h"
#include "engine/change_timer.h"
#include "engine/image_scan.h"
#include "engine/random_pick.h"
#include "engine/wallpaper.h"

namespace {

bool inRange(int32_t index, int count) {
  return index >= 1 && index <= count;
}

// Brings the index into 1..count (1 for an empty list).
void applyRangeRule(Settings& s, int count) {
  if (!inRange(s.currentIndex, count)) s.currentIndex = 1;
}

int32_t stepped(int32_t index, int32_t by) {
  return static_cast<int32_t>(static_cast<uint32_t>(index) + static_cast<uint32_t>(by));
}

// Deletes with the Recycle Bin's undo, without questions or error boxes: a slip of the
// fingers on Win+Delete must not destroy a photo for good.
void recycleFile(const std::string& path) {
  std::string from = path;
  from.push_back('\0');  // the list ends with a second NUL
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

}  // namespace

void refreshImageListIfStale() {
  const Program& p = program();
  const Settings& s = p.settings;
  bool stale = p.images.count() == 0 || s.pictureDirectory != s.scannedDirectory ||
               (s.includeSubdirectories != 0) != (s.scannedWithSubdirectories != 0);
  if (stale) rebuildImageList();
}

void changeWallpaper() {
  if (isRebuildRunning()) return;
  Program& p = program();
  HWND window = p.mainWindow;
  refreshImageListIfStale();
  if (p.mainWindow != window) return;  // the program ended during the scan
  Settings& s = p.settings;
  int count = p.images.count();
  s.currentIndex = s.randomOrder ? pickRandomIndex(count) : stepped(s.currentIndex, 1);
  applyRangeRule(s, count);
  applyPicture(s.currentIndex);
}

void stepWallpaper(bool backward) {
  if (isRebuildRunning()) return;
  Program& p = program();
  Settings& s = p.settings;
  int count = p.images.count();
  s.currentIndex =
      s.randomOrder ? pickRandomIndex(count) : stepped(s.currentIndex, backward ? -1 : 1);
  if (!inRange(s.currentIndex, count)) s.currentIndex = backward ? count : 1;
  HWND window = p.mainWindow;
  refreshImageListIfStale();
  if (p.mainWindow != window) return;
  applyRangeRule(s, p.images.count());
  applyPicture(s.currentIndex);
}

void deleteCurrentPicture() {
  if (isRebuildRunning()) return;
  Program& p = program();
  int32_t index = p.settings.currentIndex;
  if (inRange(index, p.images.count())) {
    recycleFile(p.images.at(index));
    p.images.removeAt(index);
  }
  changeWallpaper();
}

void onChangeTimer() {
  if (program().settings.autoChange) {
    changeWallpaper();
  } else {
    stopTimer();
  }
}
