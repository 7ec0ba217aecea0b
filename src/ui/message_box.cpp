#include "ui/message_box.h"

UINT messageBoxStyle(UINT flags) {
  UINT style = flags;
  if ((flags & 48) == 0) style += MB_ICONEXCLAMATION;
  return style + MB_SYSTEMMODAL;
}

int showMessage(const std::string& text, UINT flags, const std::string& title) {
  const char* caption = title.empty() ? kDefaultMessageTitle : title.c_str();
  return MessageBoxA(nullptr, text.c_str(), caption, messageBoxStyle(flags));
}
