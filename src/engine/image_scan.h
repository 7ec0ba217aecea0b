#pragma once
#include <windows.h>

#include <string>

// What the scan of the picture folder keeps between calls.
struct ScanState {
  bool rebuilding = false;       // a rebuild is running; nested requests are refused
  DWORD lastQueueLook = 0;       // tick count at the last look at the message queue
  DWORD queueLookInterval = 10;  // milliseconds between looks
};

// True when a bare file name ends in .bmp, .jpg, .jpeg, .gif or .tiff (ASCII letters in any case).
bool hasPictureExtension(const std::string& name);

// Appends the eligible pictures of directory (and, while includeSubdirectories is on, of its
// subdirectories) to the image list, depth-first, a folder's files before its subfolders.
void scanDirectory(const std::string& directory);

// Empties the image list and fills it anew from pictureDirectory; says so when nothing is
// found. Refused while another rebuild is running.
void rebuildImageList();
bool isRebuildRunning();

// Handles the messages waiting in the queue, leaving WM_QUIT for the main loop. It looks at
// the queue at most once every queueLookInterval (10 ms): a look costs far more than a
// directory entry does.
void dispatchPendingMessages();
