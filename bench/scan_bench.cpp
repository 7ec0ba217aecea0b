// Times rebuildImageList over a tree of 100,000 files in 1,000 folders against a bare
// recursive FindFirstFileA walk of the same tree, and measures how long a message posted to
// the window waits while the scan runs.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/program.h"
#include "bench/timing.h"
#include "engine/image_scan.h"

namespace {

constexpr int kTopFolders = 10;
constexpr int kSubfoldersEach = 99;   // 10 + 990 = 1,000 folders
constexpr int kFilesPerFolder = 100;  // 100,000 files

const char* const kNames[] = {"photo-%03d.jpg", "scan-%03d.JPEG", "notes-%03d.txt", "icon-%03d.png",
                              "pic-%03d.gif"};

void fillFolder(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < kFilesPerFolder; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, kNames[i % 5], i);
    HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
}

void makeTree(const std::string& root) {
  std::string done = root + "\\complete";
  if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::printf("making the tree in %s (once)...\n", root.c_str());
  CreateDirectoryA(root.c_str(), nullptr);
  for (int top = 0; top < kTopFolders; ++top) {
    std::string topFolder = root + "\\album-" + std::to_string(top);
    fillFolder(topFolder);
    for (int sub = 0; sub < kSubfoldersEach; ++sub)
      fillFolder(topFolder + "\\day-" + std::to_string(sub));
  }
  HANDLE marker = CreateFileA(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(marker);
}

// The floor: every entry of every folder, no list, no messages.
long bareWalk(const std::string& folder) {
  long pictures = 0;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (entry.cFileName[0] != '.') pictures += bareWalk(folder + "\\" + entry.cFileName);
    } else if (hasPictureExtension(entry.cFileName)) {
      ++pictures;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return pictures;
}

struct Delays {
  double worst = 0;
  long handled = 0;
};
Delays g_delays;
std::atomic<bool> g_posting{false};

// The posting thread sends the time of posting in milliseconds, split over both parameters.
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP && isRebuildRunning()) {
    double posted = static_cast<double>(wParam) + static_cast<double>(lParam) / 1000000.0;
    double delay = now() - posted;
    if (delay > g_delays.worst) g_delays.worst = delay;
    ++g_delays.handled;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MurevaScanBench";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "MurevaScanBench", "scan bench", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string root = argc > 1 ? argv[1] : std::string(temp) + "mureva-scan-bench";
  makeTree(root);

  createGlobalState();
  Program& p = program();
  p.mainWindow = makeWindow();
  p.settings.pictureDirectory = root;
  p.settings.includeSubdirectories = 1;
  p.settings.autoChange = 0;

  long floorPictures = bareWalk(root);  // warms the system's caches for both
  double walkMs = bestOf(3, [&] { bareWalk(root); });

  double quietMs = bestOf(3, [] { rebuildImageList(); });

  g_posting = true;
  std::thread poster([&] {
    while (g_posting) {
      double t = now();
      double whole = static_cast<double>(static_cast<long long>(t));
      PostMessageA(p.mainWindow, WM_APP, static_cast<WPARAM>(whole),
                   static_cast<LPARAM>((t - whole) * 1000000.0));
      Sleep(2);
    }
  });
  double rebuildMs = bestOf(3, [] { rebuildImageList(); });
  g_posting = false;
  poster.join();

  std::printf("tree: %d folders, %d files, %ld pictures (scan listed %d)\n",
              kTopFolders * (kSubfoldersEach + 1),
              kTopFolders * (kSubfoldersEach + 1) * kFilesPerFolder, floorPictures,
              p.images.count());
  std::printf("bare FindFirstFileA walk:   %8.1f ms (best of 3)\n", walkMs);
  std::printf("rebuildImageList:           %8.1f ms (best of 3, nothing posted)\n", quietMs);
  std::printf("ratio rebuild / bare walk:  %8.2f (goal: at most 1.5)\n", quietMs / walkMs);
  std::printf("rebuildImageList:           %8.1f ms (best of 3, a message posted every 2 ms)\n",
              rebuildMs);
  std::printf("messages handled mid-scan:  %8ld, worst wait %.1f ms (goal: at most 50)\n",
              g_delays.handled, g_delays.worst);
  DestroyWindow(p.mainWindow);
  releaseGlobalState();
  return 0;
}
