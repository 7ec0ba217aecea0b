#include "app/profile_store.h"

#include <cstdio>
#include <vector>

#include "app/value_text.h"

namespace {

constexpr DWORD kReadBufferSize = 10240;
const char kLineBreakMark[] = "【→↓】";

std::string windowText(HWND control) {
  int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], length + 1)));
  return text;
}

std::string listItemText(HWND list, UINT getLength, UINT getText, WPARAM index) {
  LRESULT length = SendMessageA(list, getLength, index, 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(list, getText, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::string encodeLineBreaks(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += kLineBreakMark;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string decodeLineBreaks(const std::string& text) {
  std::string out = text;
  replaceAll(out, kLineBreakMark, "\r\n");
  return out;
}

void ProfileStore::destroy() {
  filePath_.clear();
  filePath_.shrink_to_fit();
  section_.clear();
  section_.shrink_to_fit();
}

std::unique_ptr<ProfileStore> ProfileStore::copy() const {
  return std::make_unique<ProfileStore>(*this);
}

void ProfileStore::open(const std::string& path, const std::string& section) {
  filePath_ = path;
  if (!section.empty()) section_ = section;
}

void ProfileStore::setSection(const std::string& name) {
  section_ = name;
}

bool ProfileStore::writeText(const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section_.c_str(), key.c_str(), value.c_str(),
                                    filePath_.c_str()) != FALSE;
}

std::string ProfileStore::readText(const std::string& key, const std::string& defaultText) {
  std::vector<char> buffer(kReadBufferSize);
  DWORD length = GetPrivateProfileStringA(section_.c_str(), key.c_str(), defaultText.c_str(),
                                          buffer.data(), kReadBufferSize, filePath_.c_str());
  return std::string(buffer.data(), length);
}

bool ProfileStore::writeNumber(const std::string& key, double value) {
  return writeText(key, numberToText(value));
}

double ProfileStore::readNumber(const std::string& key, double defaultValue) {
  return textToNumber(readText(key, numberToText(defaultValue)));
}

bool ProfileStore::writeBool(const std::string& key, Bool32 value) {
  return writeText(key, value ? kTrueText : kFalseText);
}

Bool32 ProfileStore::readBool(const std::string& key, Bool32 defaultValue) {
  return readText(key, defaultValue ? kTrueText : kFalseText) == kTrueText;
}

Bool32 ProfileStore::readBoolUnlessFalse(const std::string& key, Bool32 defaultValue) {
  return readText(key, defaultValue ? kTrueText : kFalseText) != kFalseText;
}

bool ProfileStore::writeDate(const std::string& key, const SYSTEMTIME& value) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", value.wYear, value.wMonth,
                value.wDay, value.wHour, value.wMinute, value.wSecond);
  return writeText(key, text);
}

SYSTEMTIME ProfileStore::readDate(const std::string& key, const SYSTEMTIME& defaultValue) {
  std::string text = readText(key, std::string());
  unsigned year, month, day, hour, minute, second;
  char tail;
  if (std::sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%c", &year, &month, &day, &hour, &minute,
                  &second, &tail) != 6)
    return defaultValue;
  SYSTEMTIME result{};
  result.wYear = static_cast<WORD>(year);
  result.wMonth = static_cast<WORD>(month);
  result.wDay = static_cast<WORD>(day);
  result.wHour = static_cast<WORD>(hour);
  result.wMinute = static_cast<WORD>(minute);
  result.wSecond = static_cast<WORD>(second);
  FILETIME check;
  return SystemTimeToFileTime(&result, &check) ? result : defaultValue;
}

namespace {

std::string menuItemCaption(HMENU menu, UINT itemId) {
  char caption[256] = "";
  GetMenuStringA(menu, itemId, caption, sizeof caption, MF_BYCOMMAND);
  return caption;
}

}  // namespace

bool ProfileStore::saveMenuItemChecked(HWND window, UINT itemId) {
  HMENU menu = GetMenu(window);
  bool checked = (GetMenuState(menu, itemId, MF_BYCOMMAND) & MF_CHECKED) != 0;
  return writeBool(menuItemCaption(menu, itemId), checked);
}

Bool32 ProfileStore::loadMenuItemChecked(HWND window, UINT itemId) {
  HMENU menu = GetMenu(window);
  Bool32 current = (GetMenuState(menu, itemId, MF_BYCOMMAND) & MF_CHECKED) != 0;
  Bool32 checked = readBool(menuItemCaption(menu, itemId), current);
  CheckMenuItem(menu, itemId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  return checked;
}

// The key of a check box is its own caption.
bool ProfileStore::saveCheckBoxChecked(HWND window, int controlId) {
  HWND box = GetDlgItem(window, controlId);
  return writeBool(windowText(box), SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

Bool32 ProfileStore::loadCheckBoxChecked(HWND window, int controlId) {
  HWND box = GetDlgItem(window, controlId);
  Bool32 current = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  Bool32 checked = readBool(windowText(box), current);
  SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  return checked;
}

bool ProfileStore::saveOptionChecked(HWND window, int controlId) {
  return saveCheckBoxChecked(window, controlId);
}

Bool32 ProfileStore::loadOptionChecked(HWND window, int controlId) {
  return loadCheckBoxChecked(window, controlId);
}

bool ProfileStore::saveMultilineText(const std::string& key, HWND window, int controlId) {
  return writeText(key, encodeLineBreaks(windowText(GetDlgItem(window, controlId))));
}

void ProfileStore::loadMultilineText(const std::string& key, HWND window, int controlId) {
  HWND edit = GetDlgItem(window, controlId);
  std::string text = readText(key, encodeLineBreaks(windowText(edit)));
  SetWindowTextA(edit, decodeLineBreaks(text).c_str());
}

bool ProfileStore::saveControlText(const std::string& key, HWND window, int controlId) {
  return writeText(key, windowText(GetDlgItem(window, controlId)));
}

void ProfileStore::loadControlText(const std::string& key, HWND window, int controlId) {
  HWND control = GetDlgItem(window, controlId);
  SetWindowTextA(control, readText(key, windowText(control)).c_str());
}

// A check-list box keeps each item's check state in its item data. The items are stored as
// one text: "1" or "0" and the item's text for each item, separated by "|".
bool ProfileStore::saveListItems(const std::string& key, HWND window, int controlId) {
  HWND list = GetDlgItem(window, controlId);
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  std::string text;
  for (LRESULT i = 0; i < count; ++i) {
    if (i > 0) text += '|';
    text += SendMessageA(list, LB_GETITEMDATA, i, 0) ? '1' : '0';
    text += listItemText(list, LB_GETTEXTLEN, LB_GETTEXT, i);
  }
  return writeText(key, text);
}

void ProfileStore::loadListItems(const std::string& key, HWND window, int controlId) {
  HWND list = GetDlgItem(window, controlId);
  std::string text = readText(key, std::string());
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (text.empty()) return;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    if (!item.empty()) {
      LRESULT index =
          SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str() + 1));
      SendMessageA(list, LB_SETITEMDATA, index, item[0] == '1');
    }
    start = end + 1;
  }
}

// The value of a drop-down or list control is the text of its selected item; any other
// control's value is its text.
bool ProfileStore::saveControlValue(const std::string& key, HWND window, int controlId) {
  HWND control = GetDlgItem(window, controlId);
  LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
  if (selected >= 0)
    return writeText(key, listItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected));
  return writeText(key, windowText(control));
}

void ProfileStore::loadControlValue(const std::string& key, HWND window, int controlId) {
  HWND control = GetDlgItem(window, controlId);
  LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
  if (selected >= 0) {
    std::string current = listItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected);
    std::string value = readText(key, current);
    LRESULT found = SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(value.c_str()));
    if (found >= 0) SendMessageA(control, CB_SETCURSEL, found, 0);
    return;
  }
  SetWindowTextA(control, readText(key, windowText(control)).c_str());
}

bool ProfileStore::saveWindowPlacement(HWND window, const std::string& section) {
  if (!section.empty()) setSection(section);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return false;
  const RECT& r = placement.rcNormalPosition;
  int state = placement.showCmd == SW_SHOWMINIMIZED   ? 1
              : placement.showCmd == SW_SHOWMAXIMIZED ? 2
                                                      : 0;
  bool ok = writeNumber("位置", state);
  ok = writeNumber("左边", r.left) && ok;
  ok = writeNumber("顶边", r.top) && ok;
  ok = writeNumber("宽度", r.right - r.left) && ok;
  return writeNumber("高度", r.bottom - r.top) && ok;
}

void ProfileStore::loadWindowPlacement(HWND window, const std::string& section) {
  if (!section.empty()) setSection(section);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return;
  RECT& r = placement.rcNormalPosition;
  int current = placement.showCmd == SW_SHOWMINIMIZED   ? 1
                : placement.showCmd == SW_SHOWMAXIMIZED ? 2
                                                        : 0;
  int state = narrowToInt32(readNumber("位置", current));
  LONG left = narrowToInt32(readNumber("左边", r.left));
  LONG top = narrowToInt32(readNumber("顶边", r.top));
  LONG width = narrowToInt32(readNumber("宽度", r.right - r.left));
  LONG height = narrowToInt32(readNumber("高度", r.bottom - r.top));
  r = RECT{left, top, left + width, top + height};
  placement.showCmd = state == 1 ? SW_SHOWMINIMIZED : state == 2 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  if (!IsWindowVisible(window) && placement.showCmd == SW_SHOWNORMAL) placement.showCmd = SW_HIDE;
  SetWindowPlacement(window, &placement);
}
