#pragma once
#include <windows.h>

#include <cstdint>

// The change timer 时钟刷新 of the settings window; its period in milliseconds, 0 when stopped.
struct ChangeTimer {
  int32_t period = 0;
};

constexpr UINT_PTR 时钟刷新 = 1;

// Milliseconds per unit of timeUnit 0..4 (second, minute, hour, day, at log-in).
double millisecondsPerUnit(int32_t timeUnit);

// The timer period for an interval in a unit: 0 (stopped) for the log-in unit, for a unit
// outside 0..4 and for a period of zero or less; periods beyond the 32-bit range are limited
// to 2147483647 ms.
int32_t timerPeriodFor(int32_t interval, int32_t timeUnit);

// Sets the period of 时钟刷新: 0 or less stops it; a positive period equal to the running
// one leaves the countdown alone; any other restarts it.
void setChangeTimerPeriod(int32_t period);

// Sets the period from interval and timeUnit.
void armTimer();
void stopTimer();
