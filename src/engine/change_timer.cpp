#include "engine/change_timer.h"

#include <cmath>

#include "app/program.h"

double millisecondsPerUnit(int32_t timeUnit) {
  static const double perUnit[] = {1000, 60000, 3600000, 86400000, 0};
  return timeUnit >= 0 && timeUnit <= 4 ? perUnit[timeUnit] : 0;
}

int32_t timerPeriodFor(int32_t interval, int32_t timeUnit) {
  double period = std::trunc(millisecondsPerUnit(timeUnit) * interval);
  if (period <= 0) return 0;
  if (period > 2147483647.0) return 2147483647;
  return static_cast<int32_t>(period);
}

void setChangeTimerPeriod(int32_t period) {
  Program& p = program();
  if (!p.mainWindow) return;  // the window and its timer are gone
  if (period <= 0) {
    if (p.changeTimer.period > 0) KillTimer(p.mainWindow, 时钟刷新);
    p.changeTimer.period = 0;
    return;
  }
  if (period == p.changeTimer.period) return;
  if (p.changeTimer.period > 0) KillTimer(p.mainWindow, 时钟刷新);
  SetTimer(p.mainWindow, 时钟刷新, static_cast<UINT>(period), nullptr);
  p.changeTimer.period = period;
}

void armTimer() {
  const Settings& s = program().settings;
  setChangeTimerPeriod(timerPeriodFor(s.interval, s.timeUnit));
}

void stopTimer() {
  setChangeTimerPeriod(0);
}
