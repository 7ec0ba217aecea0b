#include "support/temp_folder.h"

#include <atomic>
#include <cstdio>

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  char name[64];
  std::snprintf(name, sizeof name, "mureva-%lu-%u-%lu", GetCurrentProcessId(), counter++,
                GetTickCount());
  path_ = std::string(base) + name;
  makeFolder(path_);
}

TempFolder::~TempFolder() {
  deleteTree(path_);
}

void writeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD wrote = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(file);
}

std::string readFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void makeFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
}

namespace {

// Works on wide paths with the \\?\ prefix, so trees deeper than MAX_PATH go too.
void deleteTreeWide(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  // A link to a folder goes by itself, never by what it points at.
  bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !link) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") deleteTreeWide(path + L"\\" + name);
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
    return;
  }
  if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
}

}  // namespace

void deleteTree(const std::string& path) {
  int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (units <= 1) return;
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], units);
  wide.resize(static_cast<size_t>(units) - 1);
  deleteTreeWide(L"\\\\?\\" + wide);
}

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}
