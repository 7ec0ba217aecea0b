#include "support/desktop_values.h"

#include <windows.h>

std::string desktopValue(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return "<none>";
  char data[1024];
  DWORD size = sizeof data, type = 0;
  LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ || size == 0) return "<none>";
  return std::string(data, size - 1);
}
