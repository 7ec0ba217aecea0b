#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/settings.h"

// Typed access to one private-profile (INI) file: a path, a current section, and values read
// and written as texts. Nothing is cached: every call goes to the file. The operations keep
// their fixed slot order; the program itself calls destroy and open .. readBool only.
class ProfileStore final {
 public:
  virtual void destroy();
  virtual std::unique_ptr<ProfileStore> copy() const;
  virtual void open(const std::string& path, const std::string& section = std::string());
  virtual void setSection(const std::string& name);
  virtual bool writeText(const std::string& key, const std::string& value);
  virtual std::string readText(const std::string& key, const std::string& defaultText);
  virtual bool writeNumber(const std::string& key, double value);
  virtual double readNumber(const std::string& key, double defaultValue);
  virtual bool writeBool(const std::string& key, Bool32 value);
  virtual Bool32 readBool(const std::string& key, Bool32 defaultValue);
  virtual Bool32 readBoolUnlessFalse(const std::string& key, Bool32 defaultValue);
  virtual bool writeDate(const std::string& key, const SYSTEMTIME& value);
  virtual SYSTEMTIME readDate(const std::string& key, const SYSTEMTIME& defaultValue);
  virtual bool saveMenuItemChecked(HWND window, UINT itemId);
  virtual Bool32 loadMenuItemChecked(HWND window, UINT itemId);
  virtual bool saveCheckBoxChecked(HWND window, int controlId);
  virtual Bool32 loadCheckBoxChecked(HWND window, int controlId);
  virtual bool saveOptionChecked(HWND window, int controlId);
  virtual Bool32 loadOptionChecked(HWND window, int controlId);
  virtual bool saveMultilineText(const std::string& key, HWND window, int controlId);
  virtual void loadMultilineText(const std::string& key, HWND window, int controlId);
  virtual bool saveControlText(const std::string& key, HWND window, int controlId);
  virtual void loadControlText(const std::string& key, HWND window, int controlId);
  virtual bool saveListItems(const std::string& key, HWND window, int controlId);
  virtual void loadListItems(const std::string& key, HWND window, int controlId);
  virtual bool saveControlValue(const std::string& key, HWND window, int controlId);
  virtual void loadControlValue(const std::string& key, HWND window, int controlId);
  virtual bool saveWindowPlacement(HWND window, const std::string& section = std::string());
  virtual void loadWindowPlacement(HWND window, const std::string& section = std::string());

  const std::string& filePath() const { return filePath_; }
  const std::string& section() const { return section_; }

 private:
  std::string filePath_;
  std::string section_;
};

// Line breaks of a multi-line text as they are kept on one INI line, and back.
std::string encodeLineBreaks(const std::string& text);
std::string decodeLineBreaks(const std::string& text);
