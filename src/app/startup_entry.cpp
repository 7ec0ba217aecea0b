#include "app/startup_entry.h"

#include "app/handles.h"
#include "app/program.h"

std::string startupValueData(const std::string& programDirectory,
                             const std::string& executableName) {
  return "\"" + programDirectory + "\\" + executableName + "\" " + kBackgroundWord;
}

namespace {

RegKey openRunKey(HKEY root, REGSAM access) {
  RegKey key;
  if (RegOpenKeyExA(root, kRunKey, 0, access, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

bool setRunValue(HKEY root, const std::string& data) {
  RegKey key = openRunKey(root, KEY_WRITE);
  if (!key && RegCreateKeyA(root, kRunKey, key.put()) != ERROR_SUCCESS) key.release();
  if (!key) return false;
  return RegSetValueExA(key.get(), kStartupValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool runValueEquals(HKEY root, const std::string& data) {
  RegKey key = openRunKey(root, KEY_QUERY_VALUE);
  if (!key) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), kStartupValueName, nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size != data.size() + 1)
    return false;
  std::string stored(size, '\0');
  if (RegQueryValueExA(key.get(), kStartupValueName, nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&stored[0]), &size) != ERROR_SUCCESS)
    return false;
  return stored.compare(0, data.size(), data) == 0;
}

bool deleteRunValue(HKEY root) {
  RegKey key = openRunKey(root, KEY_WRITE);
  return key && RegDeleteValueA(key.get(), kStartupValueName) == ERROR_SUCCESS;
}

}  // namespace

bool writeStartupValue(HKEY machineRoot, HKEY userRoot, const std::string& data) {
  if (setRunValue(machineRoot, data) || runValueEquals(machineRoot, data)) {
    deleteRunValue(userRoot);
    return true;
  }
  return setRunValue(userRoot, data);
}

void deleteStartupValue(HKEY machineRoot, HKEY userRoot) {
  if (!deleteRunValue(machineRoot)) {
    // Removes a subkey of that name should one exist; normally this fails harmlessly.
    std::string subkey = std::string(kRunKey) + "\\" + kStartupValueName;
    RegDeleteKeyA(machineRoot, subkey.c_str());
  }
  deleteRunValue(userRoot);
}

void syncStartupEntry() {
  const Program& p = program();
  if (p.settings.startWithSystem) {
    writeStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
                      startupValueData(p.programDirectory, p.executableName));
  } else {
    deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
  }
}
