#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "genlib/GenSysInfo.h"

using namespace genlib;

namespace {

// A performance counter that advances one tick per reading and a time-stamp
// counter that advances by the round's cycles per tick, so a round measures
// exactly 10 x those cycles in MHz.
class FakeClock : public ClockSource {
 public:
  bool hasCounter = true;
  std::int64_t counter = 0xFFFFFF00;  // the low 32 bits wrap during the first round
  std::vector<double> cyclesPerTick{35.0};
  int rounds = 0;
  int inside = 0;  // rounds entered and not yet left

  bool Frequency(std::int64_t& f) override {
    if (!hasCounter) return false;
    f = 10'000'000;
    return true;
  }
  std::int64_t Counter() override { return counter++; }
  std::uint64_t TimeStamp() override {
    const double k = cyclesPerTick[std::min<std::size_t>(rounds - 1, cyclesPerTick.size() - 1)];
    stamp_ += k;
    return static_cast<std::uint64_t>(stamp_);
  }
  void EnterTimeCritical() override {
    ++rounds;
    ++inside;
  }
  void LeaveTimeCritical() override { --inside; }

 private:
  double stamp_ = 1e6;
};

class FakeCpuid : public CpuidSource {
 public:
  bool present = true;
  std::uint32_t features = 0;
  bool Present() override { return present; }
  CpuidRegisters Query(std::uint32_t leaf) override {
    CpuidRegisters r;
    if (leaf == 0) {
      r.eax = 1;
      std::memcpy(&r.ebx, "Genu", 4);
      std::memcpy(&r.edx, "ineI", 4);
      std::memcpy(&r.ecx, "ntel", 4);
    } else if (leaf == 1) {
      r.eax = 0x0683;
      r.edx = features;
    }
    return r;
  }
};

}  // namespace

TEST(MeasureProcessorClock, SteadyClockTakesThreeRounds) {
  FakeClock clock;
  FrequencyInfo f;
  ASSERT_TRUE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 3);
  EXPECT_EQ(clock.inside, 0);
  EXPECT_EQ(f.RawMHz, 350u);
  EXPECT_EQ(f.NormalisedMHz, 350u);
  EXPECT_EQ(f.Microseconds, 300u);  // 1,000 ticks of 100 ns a round
  EXPECT_EQ(f.Cycles, 105000u);
}

TEST(MeasureProcessorClock, NormalisedIsSnapped) {
  FakeClock clock;
  clock.cyclesPerTick = {34.83};
  FrequencyInfo f;
  ASSERT_TRUE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 3);
  EXPECT_EQ(f.RawMHz, 348u);
  EXPECT_EQ(f.NormalisedMHz, 350u);
  EXPECT_NEAR(f.Cycles, 104490u, 1u);
}

TEST(MeasureProcessorClock, StopsWhenTheLastThreeRoundsAgree) {
  FakeClock clock;
  // 300, 400, 350, 350, 350 MHz: rounds 4 and 5 are needed.
  clock.cyclesPerTick = {30, 40, 35, 35, 35, 99};
  FrequencyInfo f;
  ASSERT_TRUE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 5);
  EXPECT_EQ(f.Microseconds, 500u);
  EXPECT_EQ(f.RawMHz, 350u);
}

TEST(MeasureProcessorClock, AgreementWithinOneMegahertz) {
  FakeClock clock;
  clock.cyclesPerTick = {35.0, 35.1, 34.9};  // 350, 351, 349: each within 1 of the mean
  FrequencyInfo f;
  ASSERT_TRUE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 3);

  FakeClock wider;
  // 350, 352, 349: 352 is 1.67 off the mean; 352, 349, 350 still disagree; 349, 350, 350 agree.
  wider.cyclesPerTick = {35.0, 35.2, 34.9, 35.0};
  ASSERT_TRUE(MeasureProcessorClock(f, wider));
  EXPECT_EQ(wider.rounds, 5);
}

TEST(MeasureProcessorClock, AnUnsteadyClockStopsAfterTwentyRounds) {
  FakeClock clock;
  std::vector<double> k;
  for (int i = 0; i < 30; ++i) k.push_back(i % 2 ? 40.0 : 30.0);
  clock.cyclesPerTick = k;
  FrequencyInfo f;
  ASSERT_TRUE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 20);
  EXPECT_EQ(clock.inside, 0);
  EXPECT_EQ(f.Microseconds, 2000u);
  EXPECT_EQ(f.RawMHz, 350u);
}

TEST(MeasureProcessorClock, WithoutAPerformanceCounter) {
  FakeClock clock;
  clock.hasCounter = false;
  FrequencyInfo f{1, 2, 3, 4};
  EXPECT_FALSE(MeasureProcessorClock(f, clock));
  EXPECT_EQ(clock.rounds, 0);
  EXPECT_EQ(f.RawMHz, 1u);
  EXPECT_EQ(f.Microseconds, 4u);
}

TEST(MeasureProcessorClock, OnThisSystemWithinItsBound) {
  FrequencyInfo f;
  if (!(ReadTimeStampCounter() != 0)) GTEST_SKIP() << "no time-stamp counter";
  ASSERT_TRUE(MeasureProcessorClock(f));
  // 3 to 20 rounds of at least 100 microseconds each.
  EXPECT_GE(f.Microseconds, 300u);
  EXPECT_GT(f.RawMHz, 0u);
}

TEST(DetectProcessor, MeasuresOnlyWithATimeStampCounter) {
  FakeClock clock;
  FakeCpuid cpu;
  ProcessorInfo info;

  cpu.present = false;
  DetectProcessor(info, cpu, clock);
  EXPECT_FALSE(info.HasCpuid);
  EXPECT_EQ(info.Family, 4);
  EXPECT_FALSE(info.HasMmx);
  EXPECT_TRUE(info.FdivSound);
  EXPECT_EQ(clock.rounds, 0);

  cpu.present = true;
  cpu.features = kFeatureMmx;
  DetectProcessor(info, cpu, clock);
  EXPECT_TRUE(info.HasMmx);
  EXPECT_EQ(clock.rounds, 0);
  EXPECT_EQ(info.Frequency.RawMHz, 0u);
  EXPECT_EQ(info.Frequency.Microseconds, 0u);

  cpu.features = kFeatureTsc;
  DetectProcessor(info, cpu, clock);
  EXPECT_FALSE(info.HasMmx);
  EXPECT_EQ(clock.rounds, 3);
  EXPECT_EQ(info.Frequency.NormalisedMHz, 350u);
  EXPECT_EQ(info.Family, 6);
  EXPECT_EQ(info.Model, 8);
  EXPECT_EQ(info.Stepping, 3);
}
