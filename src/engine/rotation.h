#pragma once

// The engine's entry points. While a rebuild of the image list is scanning (and handling
// messages in between), a request that arrives is ignored: the scan is the change in progress.

// Rebuilds the image list when it is empty or the folder or subfolder option changed.
void refreshImageListIfStale();
// One change: the next picture in list order, or a random one.
void changeWallpaper();
// The previous or the next picture.
void stepWallpaper(bool backward);
// Sends the current picture to the Recycle Bin, drops it from the list and changes.
void deleteCurrentPicture();
// A tick of the change timer.
void onChangeTimer();
