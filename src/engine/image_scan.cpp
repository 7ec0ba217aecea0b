#include "engine/image_scan.h"

#include <cstring>
#include <vector>

#include "app/handles.h"
#include "app/program.h"
#include "engine/change_timer.h"
#include "ui/message_box.h"

bool hasPictureExtension(const std::string& name) {
  static const char* const extensions[] = {".bmp", ".jpg", ".jpeg", ".gif", ".tiff"};
  for (const char* extension : extensions) {
    size_t length = std::strlen(extension);
    if (name.size() < length) continue;
    const char* tail = name.c_str() + name.size() - length;
    bool same = true;
    for (size_t i = 0; i < length && same; ++i) {
      char c = tail[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      same = c == extension[i];
    }
    if (same) return true;
  }
  return false;
}

namespace {

struct FolderIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
  bool operator==(const FolderIdentity& o) const {
    return volume == o.volume && indexHigh == o.indexHigh && indexLow == o.indexLow;
  }
};

bool folderIdentity(const std::string& folder, FolderIdentity& identity) {
  FileHandle handle(CreateFileA(folder.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return false;
  identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

// One walk over a folder tree. Junctions and folder links are followed like folders, so a
// link that points back into its own ancestry would recurse for ever. Only links can close
// such a loop, so the walk looks at identities only when it is about to enter a link: the
// link's target is entered unless it is one of the folders on the path the walk is on.
// Identities cost a file open each, so an ancestor's is taken only when first needed.
class FolderWalk {
 public:
  FolderWalk() : window_(program().mainWindow) {}

  void folder(const std::string& path, bool isLink = false) {
    Frame frame{path, {}, false};
    if (isLink) {
      if (!folderIdentity(path, frame.identity)) return;
      frame.identified = true;
      if (isOnPath(frame.identity)) return;
    }
    path_.push_back(frame);
    std::vector<Subfolder> subfolders = listFiles(path);
    if (!abandoned() && program().settings.includeSubdirectories) {
      for (const Subfolder& sub : subfolders) {
        if (sub.name != "." && sub.name != "..") folder(path + "\\" + sub.name, sub.isLink);
        dispatchPendingMessages();
        if (abandoned()) break;
      }
    }
    path_.pop_back();
  }

 private:
  struct Frame {
    std::string path;
    FolderIdentity identity;
    bool identified;
  };
  struct Subfolder {
    std::string name;
    bool isLink;
  };

  // Appends the folder's pictures and returns its subfolders, each in the order the system
  // enumerates them.
  std::vector<Subfolder> listFiles(const std::string& path) {
    std::vector<Subfolder> subfolders;
    WIN32_FIND_DATAA entry;
    FindHandle search(FindFirstFileA((path + "\\*").c_str(), &entry));
    if (!search) return subfolders;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        subfolders.push_back(
            {entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
      } else if (hasPictureExtension(entry.cFileName)) {
        program().images.append(path + "\\" + entry.cFileName);
      }
      dispatchPendingMessages();
      if (abandoned()) break;
    } while (FindNextFileA(search.get(), &entry));
    return subfolders;
  }

  bool isOnPath(const FolderIdentity& identity) {
    for (Frame& ancestor : path_) {
      if (!ancestor.identified)
        ancestor.identified = folderIdentity(ancestor.path, ancestor.identity);
      if (ancestor.identified && ancestor.identity == identity) return true;
    }
    return false;
  }

  // The settings window was destroyed while messages were being handled: the program is
  // ending, and the rest of the tree no longer matters.
  bool abandoned() const { return program().mainWindow != window_; }

  HWND window_;
  std::vector<Frame> path_;
};

// Marks a rebuild as running for as long as it lasts.
class RebuildScope {
 public:
  RebuildScope() { program().scan.rebuilding = true; }
  ~RebuildScope() { program().scan.rebuilding = false; }
  RebuildScope(const RebuildScope&) = delete;
  RebuildScope& operator=(const RebuildScope&) = delete;
};

std::string noPicturesMessage(const std::string& folder) {
  return "指定的图片目录【" + folder + "】找不到任何支持的图片格式，" +
         "目前仅支持Bmp、Jpg、Gif、Tiff格式图片设置为桌面。请重新设置。";
}

}  // namespace

void scanDirectory(const std::string& directory) {
  FolderWalk().folder(directory);
}

bool isRebuildRunning() {
  return program().scan.rebuilding;
}

void rebuildImageList() {
  Program& p = program();
  if (p.scan.rebuilding) return;
  RebuildScope running;
  HWND window = p.mainWindow;
  stopTimer();
  p.settings.scannedDirectory = p.settings.pictureDirectory;
  p.settings.scannedWithSubdirectories = p.settings.includeSubdirectories;
  p.images.clear();
  // A copy: the folder setting may change while the scan hands out messages.
  std::string directory = p.settings.pictureDirectory;
  scanDirectory(directory);
  if (p.mainWindow != window) return;
  if (p.images.count() == 0)
    showMessage(noPicturesMessage(p.settings.pictureDirectory), 0, "找不到图片");
  if (p.mainWindow == window && p.settings.autoChange) armTimer();
}

void dispatchPendingMessages() {
  ScanState& scan = program().scan;
  DWORD now = GetTickCount();
  if (now - scan.lastQueueLook < scan.queueLookInterval) return;
  scan.lastQueueLook = now;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
    if (message.message == WM_QUIT) {  // arrived in between: leave it for the main loop
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
