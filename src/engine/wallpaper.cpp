#include "engine/wallpaper.h"

#include <windows.h>

#include <cstdio>

#include "app/handles.h"
#include "app/program.h"
#include "engine/image_converter.h"

std::string wallpaperFilePath() {
  return program().programDirectory + "\\" + kWallpaperFileName;
}

bool endsWithBmp(const std::string& path) {
  std::string tail = path.size() > 4 ? path.substr(path.size() - 4) : path;
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == ".bmp";
}

std::string readWholeFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return std::string();
  // No picture the desktop can show comes near this; a larger file is not read at all.
  constexpr LONGLONG kLargestPicture = 1LL << 30;
  if (size.QuadPart <= 0 || size.QuadPart > kLargestPicture) return std::string();
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr) ||
        got == 0)
      return std::string();
    done += got;
  }
  return bytes;
}

namespace {

// Another program (a virus scanner, an indexer, a viewer) may hold the file for a moment: a
// few short retries let the change go through; a file held for longer keeps its content.
FileHandle createForWriting(const std::string& path) {
  constexpr int kTries = 10;
  constexpr DWORD kPauseMs = 20;
  for (int attempt = 1;; ++attempt) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_SHARING_VIOLATION || attempt == kTries) return file;
    Sleep(kPauseMs);
  }
}

}  // namespace

bool writeWholeFile(const std::string& path, const std::string& bytes) {
  FileHandle file = createForWriting(path);
  if (!file) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote,
                   nullptr) ||
        wrote == 0)
      return false;
    done += wrote;
  }
  return true;
}

namespace {

bool setDesktopValue(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

bool setDesktopWallpaper(const std::string& path, int style) {
  if (style < 0 || style > 2) style = 0;
  PVOID file = const_cast<char*>(path.c_str());
  if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, file, 0)) return false;
  RegKey desktop;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, desktop.put()) !=
      ERROR_SUCCESS) {
    desktop.release();
    return false;
  }
  char styleText[16];
  std::snprintf(styleText, sizeof styleText, "%d", style);
  if (!setDesktopValue(desktop.get(), "Wallpaper", path) ||
      !setDesktopValue(desktop.get(), "WallpaperStyle", styleText) ||
      !setDesktopValue(desktop.get(), "TileWallpaper", styleText))
    return false;
  desktop.reset();
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, file, SPIF_UPDATEINIFILE) != FALSE;
}

void applyPicture(int index) {
  const Program& p = program();
  if (index < 1 || index > p.images.count()) return;
  std::string path = p.images.at(index);
  std::string target = wallpaperFilePath();
  {
    std::string bytes = readWholeFile(path);
    if (!endsWithBmp(path)) bytes = convertImage(bytes, 0);
    if (bytes.empty()) return;
    writeWholeFile(target, bytes);
  }  // the picture's bytes go before the system loads its own copy of the file
  setDesktopWallpaper(target, p.settings.displayStyle);
}
