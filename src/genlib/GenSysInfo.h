#pragma once
// System, version and processor information of the general library, read
// once at start-up and kept for the whole run, and the processor clock measurement.

#include <array>
#include <cstdint>
#include <string>

#include "platform/sysinfo.h"

namespace genlib {

// --- System values and Windows flags --------------------------------------

extern std::uint32_t NumberOfProcessors;
extern std::uint32_t AllocationGranularity;
extern std::uint32_t PageSize;
// Product version of the loaded "kernel32.dll": major << 16 | minor; 0 on NT
// and wherever it cannot be read.
extern std::uint32_t KernelProductVersion;

// Windows version codes.
enum WindowsVersion : int {
  wvUnknown = 0,
  wvWin95 = 1,
  wvWin95OSR2 = 2,
  wvWin98 = 3,
  wvWin98SE = 4,
  wvWinME = 5,
  wvWinNT31 = 6,
  wvWinNT35 = 7,
  wvWinNT351 = 8,
  wvWinNT4 = 9,
  wvWin2000 = 10,
  wvWinXP = 11,
};

extern bool IsWinNT;
extern bool IsWin95, IsWin95OSR2, IsWin98, IsWin98SE, IsWinME;
extern bool IsWinNT31, IsWinNT35, IsWinNT351, IsWinNT4, IsWin2000, IsWinXP;
extern bool IsWinNT3;  // any NT 3

// The version code of a system's version record and kernel product version.
WindowsVersion DetectWindowsVersion(const platform::OsVersion& os, std::uint32_t kernelProductVersion);
// The version code of the running system.
WindowsVersion DetectWindowsVersion();

// The cache descriptors of leaf 2 and what they mean; the texts are bound at
// start-up and released at the end.
struct CacheDescriptor {
  std::uint32_t Code;
  std::string Description;
};
extern std::array<CacheDescriptor, 14> CacheDescriptorTable;

// --- Processor ---------------------------------------------------------------

enum ProcessorVendor : std::uint8_t {
  pvUnknown = 0,
  pvIntel = 1,
  pvCyrix = 2,
  pvAMD = 3,
  pvTransmeta = 4,
};

struct FrequencyInfo {
  std::uint32_t RawMHz = 0;
  std::uint32_t NormalisedMHz = 0;
  std::uint32_t Cycles = 0;        // low 32 bits of the counted cycles
  std::uint32_t Microseconds = 0;  // measured time
};

struct ProcessorInfo {
  bool HasCpuid = false;
  bool HasMmx = false;
  bool FdivSound = false;
  bool HasCacheInfo = false;
  bool HasExtendedInfo = false;
  std::uint8_t Vendor = pvUnknown;
  std::uint8_t ProcessorType = 0;
  std::uint8_t Family = 4;
  std::uint8_t Model = 0;
  std::uint8_t Stepping = 0;
  std::uint32_t Features = 0;
  FrequencyInfo Frequency;
  std::array<char, 12> VendorId{};
  std::array<char, 10> VendorName{};     // zero-padded
  std::array<char, 49> ProcessorName{};  // 48 characters and always a terminating zero
  std::uint32_t L2CacheKB = 0;
  std::array<std::uint8_t, 16> CacheDescriptors{};
  std::uint8_t BrandIndex = 0;
  std::uint32_t CyrixL1Cache = 0;
  std::uint32_t CyrixTlb = 0;
  std::uint16_t DataTlb = 0;
  std::uint16_t InstructionTlb = 0;
  std::uint32_t L1DataCache = 0;
  std::uint32_t L1InstructionCache = 0;
};

constexpr std::uint32_t kFeatureTsc = 1u << 4;
constexpr std::uint32_t kFeatureMmx = 1u << 23;

// The processor identification instruction. Tests give answers of their own.
struct CpuidRegisters {
  std::uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};
class CpuidSource {
 public:
  virtual ~CpuidSource() = default;
  virtual bool Present() = 0;
  virtual CpuidRegisters Query(std::uint32_t leaf) = 0;
};
// The running processor's instruction.
CpuidSource& ProcessorCpuid();

// The performance counter, the time-stamp counter and the thread priority
// that the clock measurement uses. Tests give clocks of their own.
class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual bool Frequency(std::int64_t& ticksPerSecond) = 0;
  virtual std::int64_t Counter() = 0;
  virtual std::uint64_t TimeStamp() = 0;
  // Raise the thread to time-critical priority, where that is permitted, and back.
  virtual void EnterTimeCritical() {}
  virtual void LeaveTimeCritical() {}
};
// The running system's counters and the calling thread.
ClockSource& SystemClock();

void QueryCpuid(ProcessorInfo& info, CpuidSource& cpuid);
void QueryCpuid(ProcessorInfo& info);
void DetectProcessor(ProcessorInfo& info, CpuidSource& cpuid, ClockSource& clock);
void DetectProcessor(ProcessorInfo& info);

// The floating-point division gives the right result (the early Pentium's did
// not). The second form judges the given division instead of this processor's.
bool FdivIsSound();
bool FdivIsSound(double (*divide)(double x, double y));

// Measures the processor clock in 3 to 20 rounds; false, with frequency
// untouched, when there is no performance counter.
bool MeasureProcessorClock(FrequencyInfo& frequency, ClockSource& clock);
bool MeasureProcessorClock(FrequencyInfo& frequency);

// The nearest of the usual clock steps within the hundred (0, 20, 33, 50,
// 60, 66, 80, 90, 100 MHz); an equal distance goes up.
std::uint32_t SnapFrequency(std::uint32_t mhz);

// The processor's time-stamp counter; 0 where there is none.
std::uint64_t ReadTimeStampCounter();

// The unit's start-up and end work, each run once however often it is entered.
void GenSysInfoStart();
void GenSysInfoEnd();

}  // namespace genlib
