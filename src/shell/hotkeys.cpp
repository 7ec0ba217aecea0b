#include "shell/hotkeys.h"

// The global hot keys are still to come; the table stays empty.
void registerHotkeys(HWND) {}
