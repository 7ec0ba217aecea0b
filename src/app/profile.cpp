#include "app/profile.h"

#include "app/program.h"
#include "app/startup_entry.h"
#include "app/value_text.h"

void loadProfile() {
  Program& p = program();
  Settings& s = p.settings;
  ProfileStore& store = p.profile;
  store.setSection("图片设置");
  s.pictureDirectory = store.readText("图片目录", std::string());
  s.includeSubdirectories = store.readBool("包含子目录", false);
  s.randomOrder = store.readBool("随机显示", true);
  s.interval = narrowToInt32(store.readNumber("间隔时间", 10));
  s.timeUnit = narrowToInt32(store.readNumber("时间单位", 1));
  s.displayStyle = narrowToInt32(store.readNumber("显示样式", 0));
  store.setSection("选项");
  s.autoChange = store.readBool("开启壁纸", true);
  s.startWithSystem = store.readBool("随系统启动", true);
  syncStartupEntry();
  s.trayInBackground = store.readBool("后台托盘", true);
}

void saveProfile() {
  Program& p = program();
  const Settings& s = p.settings;
  ProfileStore& store = p.profile;
  store.setSection("图片设置");
  store.writeText("图片目录", s.pictureDirectory);
  store.writeBool("包含子目录", s.includeSubdirectories);
  store.writeBool("随机显示", s.randomOrder);
  store.writeNumber("间隔时间", s.interval);
  store.writeNumber("时间单位", s.timeUnit);
  store.writeNumber("显示样式", s.displayStyle);
  store.setSection("选项");
  store.writeBool("开启壁纸", s.autoChange);
  store.writeBool("随系统启动", s.startWithSystem);
  syncStartupEntry();
  store.writeBool("后台托盘", s.trayInBackground);
}
