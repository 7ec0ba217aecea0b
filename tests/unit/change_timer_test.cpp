#include <gtest/gtest.h>

#include <vector>

#include "engine/change_timer.h"
#include "engine/rotation.h"
#include "support/program_fixture.h"

TEST(TimerPeriod, FollowsTheUnitTable) {
  struct Case {
    int32_t interval;
    int32_t timeUnit;
    int32_t period;
  } cases[] = {
      {10, 0, 10000},
      {10, 1, 600000},
      {2, 2, 7200000},
      {24, 3, 2073600000},
      {1, 4, 0},  // at log-in: no timer
      {0, 0, 0},
      {-5, 1, 0},  // a negative period stops the timer
      {2147483, 0, 2147483000},
      {35791, 1, 2147460000},
      {596, 2, 2145600000},
      {2147484, 0, 2147483647},  // beyond the timer's range: limited to the largest period
      {25, 3, 2147483647},
      {2147483647, 3, 2147483647},
      {-2147483647 - 1, 3, 0},  // below the 32-bit range: stopped
      {10, 5, 0},               // a unit outside the table stops the timer
      {10, -1, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(timerPeriodFor(c.interval, c.timeUnit), c.period) << c.interval << " " << c.timeUnit;
}

namespace {

class ChangeTimerTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    setStandInHook([this](UINT message, WPARAM wParam, LPARAM) {
      if (message != WM_TIMER || wParam != 时钟刷新) return false;
      ticks_.push_back(GetTickCount());
      return true;
    });
  }

  void arm(int32_t interval, int32_t timeUnit) {
    program().settings.interval = interval;
    program().settings.timeUnit = timeUnit;
    armTimer();
  }

  // Milliseconds from now to the next tick, or -1 when none comes within the time.
  long nextTickWithin(DWORD timeoutMs) {
    ticks_.clear();
    DWORD start = GetTickCount();
    if (!pumpUntil([this] { return !ticks_.empty(); }, timeoutMs)) return -1;
    return static_cast<long>(ticks_.front() - start);
  }

  std::vector<DWORD> ticks_;
};

}  // namespace

TEST_F(ChangeTimerTest, StoresThePeriodAndStopsForZeroOrLess) {
  arm(10, 1);
  EXPECT_EQ(program().changeTimer.period, 600000);
  arm(0, 0);
  EXPECT_EQ(program().changeTimer.period, 0);
  arm(1, 0);
  EXPECT_EQ(program().changeTimer.period, 1000);
  stopTimer();
  EXPECT_EQ(program().changeTimer.period, 0);
  EXPECT_EQ(nextTickWithin(1500), -1) << "a stopped timer does not tick";
}

// The countdown is measured against the timer's own ticks: the margins are hundreds of
// milliseconds either way, far more than timer jitter.
TEST_F(ChangeTimerTest, ArmingWithTheSamePeriodKeepsTheCountdownAndADifferentOneRestartsIt) {
  arm(1, 0);  // 1000 ms
  pumpFor(600);
  arm(1, 0);  // unchanged: the first tick still comes about 400 ms later
  long sameTick = nextTickWithin(2000);
  EXPECT_GE(sameTick, 0);
  EXPECT_LT(sameTick, 750);

  pumpFor(600);
  program().settings.interval = 2;
  armTimer();  // 2000 ms: starts anew
  pumpFor(600);
  arm(1, 0);  // back to 1000 ms: starts anew again, the tick is a full period away
  long restartedTick = nextTickWithin(3000);
  EXPECT_GT(restartedTick, 850);
  EXPECT_LT(restartedTick, 1300) << "the 2000 ms countdown would have ended 1400 ms later";
}

TEST_F(ChangeTimerTest, ATickWithAutomaticChangingOffStopsTheTimerUntilItIsArmedAgain) {
  setStandInHook(nullptr);  // ticks go to the engine
  program().settings.autoChange = 0;
  arm(1, 0);
  ASSERT_TRUE(pumpUntil([] { return program().changeTimer.period == 0; }, 3000));
  program().settings.autoChange = 1;  // switching it on only stores the flag
  pumpFor(1300);
  EXPECT_EQ(program().changeTimer.period, 0);
  armTimer();
  EXPECT_EQ(program().changeTimer.period, 1000);
}

TEST_F(ChangeTimerTest, DoesNothingOnceTheWindowIsGone) {
  DestroyWindow(window_);
  EXPECT_EQ(program().mainWindow, nullptr);
  arm(1, 0);
  EXPECT_EQ(program().changeTimer.period, 0);
}
