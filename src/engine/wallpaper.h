#pragma once
#include <string>

inline const char kWallpaperFileName[] = "桌面背景文件.bmp";

// The fixed BMP file beside the exe through which every picture reaches the desktop.
std::string wallpaperFilePath();

// True when the last four bytes of a path, ASCII letters folded, are ".bmp".
bool endsWithBmp(const std::string& path);

// Makes entry index of the image list the wallpaper. A picture that gives no bytes (missing,
// unreadable, not decodable) changes nothing: the desktop keeps the picture it shows.
void applyPicture(int index);

// Hands a BMP file to the system with a style (0 centre, 1 tile, 2 stretch; others as 0) and
// records it under HKCU "Control Panel\Desktop". Returns whether every step succeeded.
bool setDesktopWallpaper(const std::string& path, int style);

// Whole-file read and write. A file that cannot be read gives no bytes.
std::string readWholeFile(const std::string& path);
bool writeWholeFile(const std::string& path, const std::string& bytes);
