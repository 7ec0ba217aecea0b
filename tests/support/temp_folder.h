#pragma once
#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, deleted with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Test helpers for files and folders (paths in CP936).
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
void makeFolder(const std::string& path);
void deleteTree(const std::string& path);
// A Unix path (as CMake passes it) as Wine sees it; other paths are returned unchanged.
std::string windowsPath(const std::string& path);
