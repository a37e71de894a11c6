#include "genlib/GenSysInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <x86intrin.h>
#define GEN_X86 1
#endif

#include "genlib/GenFileUtils.h"
#include "platform/convert.h"
#include "platform/cpuclock.h"

namespace genlib {

std::uint32_t NumberOfProcessors = 0;
std::uint32_t AllocationGranularity = 0;
std::uint32_t PageSize = 0;
std::uint32_t KernelProductVersion = 0;

bool IsWinNT = false;
bool IsWin95 = false, IsWin95OSR2 = false, IsWin98 = false, IsWin98SE = false, IsWinME = false;
bool IsWinNT31 = false, IsWinNT35 = false, IsWinNT351 = false, IsWinNT4 = false;
bool IsWin2000 = false, IsWinXP = false;
bool IsWinNT3 = false;

std::array<CacheDescriptor, 14> CacheDescriptorTable = {{
    {0x01, {}},
    {0x02, {}},
    {0x03, {}},
    {0x04, {}},
    {0x06, {}},
    {0x08, {}},
    {0x0A, {}},
    {0x0C, {}},
    {0x40, {}},
    {0x41, {}},
    {0x42, {}},
    {0x43, {}},
    {0x44, {}},
    {0x45, {}},
}};

namespace {

int startCount = 0;

// The texts of CacheDescriptorTable, row by row.
constexpr std::array<const char*, 14> kCacheTexts = {
    "Instruction TLB, 4Kb pages, 4-way set associative, 32 entries",
    "Instruction TLB, 4Mb pages, fully associative, 2 entries",
    "Data TLB, 4Kb pages, 4-way set associative, 64 entries",
    "Data TLB, 4Mb pages, 4-way set associative, 8 entries",
    "8KB instruction cache, 4-way set associative, 32 byte line size",
    "16KB instruction cache, 4-way set associative, 32 byte line size",
    "8KB data cache 2-way set associative, 32 byte line size",
    "16KB data cache, 4-way set associative, 32 byte line size",
    "No L2 cache",
    "Unified cache, 32 byte cache line, 4-way set associative, 128Kb",
    "Unified cache, 32 byte cache line, 4-way set associative, 256Kb",
    "Unified cache, 32 byte cache line, 4-way set associative, 512Kb",
    "Unified cache, 32 byte cache line, 4-way set associative, 1Mb",
    "Unified cache, 32 byte cache line, 4-way set associative, 2Mb",
};

constexpr std::uint32_t kExtendedBase = 0x80000000;
constexpr int kMinRounds = 3;
constexpr int kMaxRounds = 20;
constexpr std::uint32_t kSettleTicks = 50;
constexpr std::uint32_t kMeasureTicks = 1000;

// Nearest integer, an exact half to the even neighbour.
std::int64_t RoundEven(long double x) { return static_cast<std::int64_t>(std::nearbyintl(x)); }

void SetVersionFlag(WindowsVersion v) {
  IsWin95 = v == wvWin95;
  IsWin95OSR2 = v == wvWin95OSR2;
  IsWin98 = v == wvWin98;
  IsWin98SE = v == wvWin98SE;
  IsWinME = v == wvWinME;
  IsWinNT31 = v == wvWinNT31;
  IsWinNT35 = v == wvWinNT35;
  IsWinNT351 = v == wvWinNT351;
  IsWinNT4 = v == wvWinNT4;
  IsWin2000 = v == wvWin2000;
  IsWinXP = v == wvWinXP;
  IsWinNT3 = IsWinNT31 || IsWinNT35 || IsWinNT351;
}

template <std::size_t N>
void SetText(std::array<char, N>& field, const char* text) {
  field.fill(0);
  std::memcpy(field.data(), text, std::min(std::strlen(text), N - 1));
}

template <std::size_t N, class... Args>
void FormatText(std::array<char, N>& field, const char* format, Args... args) {
  field.fill(0);
  std::snprintf(field.data(), N, format, args...);
}

void StoreRegisters(std::uint8_t* out, const CpuidRegisters& r) {
  std::memcpy(out, &r.eax, 4);
  std::memcpy(out + 4, &r.ebx, 4);
  std::memcpy(out + 8, &r.ecx, 4);
  std::memcpy(out + 12, &r.edx, 4);
}

void StandardPath(ProcessorInfo& info, CpuidSource& cpuid, std::uint32_t maxLeaf, bool intel) {
  if (maxLeaf < 1) return;
  const CpuidRegisters r = cpuid.Query(1);
  info.Features = r.edx;
  info.BrandIndex = static_cast<std::uint8_t>(r.ebx & 0xFF);
  info.ProcessorType = static_cast<std::uint8_t>((r.eax >> 12) & 0x3);
  info.Family = static_cast<std::uint8_t>((r.eax >> 8) & 0xF);
  info.Model = static_cast<std::uint8_t>((r.eax >> 4) & 0xF);
  info.Stepping = static_cast<std::uint8_t>(r.eax & 0xF);
  if (!intel || maxLeaf < 2) return;
  info.HasCacheInfo = true;
  // The low byte of the first answer says how often the leaf must be asked
  // before its answer is complete.
  CpuidRegisters c = cpuid.Query(2);
  const unsigned times = c.eax & 0xFF;
  if (times == 0) return;
  for (unsigned i = 1; i < times; ++i) c = cpuid.Query(2);
  std::uint8_t bytes[16];
  StoreRegisters(bytes, c);
  std::memcpy(info.CacheDescriptors.data(), bytes, 16);
}

void ExtendedPath(ProcessorInfo& info, CpuidSource& cpuid, std::uint32_t maxLeaf, bool amd) {
  if (maxLeaf >= kExtendedBase + 1) {
    const CpuidRegisters r = cpuid.Query(kExtendedBase + 1);
    info.HasExtendedInfo = true;
    info.ProcessorType = static_cast<std::uint8_t>((r.eax >> 12) & 0xF);
    info.Family = static_cast<std::uint8_t>((r.eax >> 8) & 0xF);
    info.Model = static_cast<std::uint8_t>((r.eax >> 4) & 0xF);
    info.Stepping = static_cast<std::uint8_t>(r.eax & 0xF);
    info.Features = r.edx;
  }
  for (std::uint32_t i = 0; i < 3; ++i) {
    if (maxLeaf < kExtendedBase + 2 + i) break;
    std::uint8_t bytes[16];
    StoreRegisters(bytes, cpuid.Query(kExtendedBase + 2 + i));
    std::memcpy(info.ProcessorName.data() + 16 * i, bytes, 16);
  }
  if (maxLeaf >= kExtendedBase + 5) {
    const CpuidRegisters r = cpuid.Query(kExtendedBase + 5);
    info.HasCacheInfo = true;
    if (amd) {
      info.DataTlb = static_cast<std::uint16_t>(r.ebx >> 16);
      info.InstructionTlb = static_cast<std::uint16_t>(r.ebx & 0xFFFF);
      info.L1DataCache = r.ecx;
      info.L1InstructionCache = r.edx;
    } else {
      info.CyrixL1Cache = r.ecx;
      info.CyrixTlb = r.ebx;
    }
  }
}

void IntelDetails(ProcessorInfo& info) {
  SetText(info.VendorName, "Intel");
  info.Vendor = pvIntel;
  if (info.HasCacheInfo) {
    info.L2CacheKB = 0;
    for (int i = 1; i < 16; ++i) {
      switch (info.CacheDescriptors[i]) {
        case 0x40: info.L2CacheKB = 0; break;
        case 0x41: info.L2CacheKB = 128; break;
        case 0x42: info.L2CacheKB = 256; break;
        case 0x43: info.L2CacheKB = 512; break;
        case 0x44: info.L2CacheKB = 1024; break;
        case 0x45: info.L2CacheKB = 2048; break;
        default: break;
      }
    }
  }
  if (info.HasExtendedInfo) return;
  auto& name = info.ProcessorName;
  const unsigned l2 = info.L2CacheKB;
  switch (info.Family) {
    case 4:
      switch (info.Model) {
        case 1: SetText(name, "Intel 486DX Processor"); break;
        case 2: SetText(name, "Intel 486SX Processor"); break;
        case 3: SetText(name, "Intel DX2 Processor"); break;
        case 5: SetText(name, "Intel SX2 Processor"); break;
        case 7: SetText(name, "Write-Back Enhanced Intel DX2 Processor"); break;
        case 8: SetText(name, "Intel DX4 Processor"); break;
        default: SetText(name, "Intel 486 Processor"); break;
      }
      break;
    case 5: SetText(name, "Pentium"); break;
    case 6:
      switch (info.Model) {
        case 1: SetText(name, "Pentium Pro"); break;
        case 3: SetText(name, "Pentium II"); break;
        case 5:
          if (l2 == 0) SetText(name, "Celeron");
          else if (l2 == 1024 || l2 == 2048) SetText(name, "Pentium II Xeon");
          else SetText(name, "Pentium II");
          break;
        case 6: SetText(name, l2 == 0 || l2 == 128 ? "Celeron" : "Pentium II"); break;
        case 7: SetText(name, l2 == 1024 || l2 == 2048 ? "Pentium III Xeon" : "Pentium III"); break;
        case 8:
          if (info.BrandIndex == 1) SetText(name, "Celeron");
          else if (info.BrandIndex == 3) SetText(name, "Pentium III Xeon");
          else SetText(name, "Pentium III");
          break;
        case 10: SetText(name, "Pentium III Xeon"); break;
        case 11: SetText(name, "Pentium III"); break;
        default: FormatText(name, "P6 (Model %d)", int(info.Model)); break;
      }
      break;
    case 15:
      if (info.BrandIndex == 1) SetText(name, "Celeron");
      else if (info.BrandIndex == 14) SetText(name, "Xeon");
      else SetText(name, "Pentium 4");
      break;
    default: FormatText(name, "P%d", int(info.Family)); break;
  }
}

void CyrixDetails(ProcessorInfo& info) {
  SetText(info.VendorName, "Cyrix");
  info.Vendor = pvCyrix;
  if (info.HasExtendedInfo) return;
  auto& name = info.ProcessorName;
  switch (info.Family) {
    case 4: SetText(name, "Cyrix MediaGX"); break;
    case 5:
      if (info.Model == 2) SetText(name, "Cyrix 6x86");
      else if (info.Model == 4) SetText(name, "Cyrix GXm");
      break;
    case 6: SetText(name, "6x86MX"); break;
    default: FormatText(name, "%dx86", int(info.Family)); break;
  }
}

void AmdDetails(ProcessorInfo& info) {
  SetText(info.VendorName, "AMD");
  info.Vendor = pvAMD;
  if (info.HasExtendedInfo) return;
  auto& name = info.ProcessorName;
  switch (info.Family) {
    case 4: SetText(name, "Am486(R) or Am5x86"); break;
    case 5:
      switch (info.Model) {
        case 0:
        case 1:
        case 2:
        case 3: FormatText(name, "AMD-K5 (Model %d)", int(info.Model)); break;
        case 6: SetText(name, "AMD-K6(R)"); break;
        case 7: SetText(name, "AMD-K6"); break;
        case 8: SetText(name, "AMD-K6(R) -2"); break;
        case 9: SetText(name, "AMD-K6(R) -3"); break;
        default: SetText(name, "Unknown AMD Model"); break;
      }
      break;
    default: SetText(name, "Unknown AMD Chip"); break;
  }
}

class RealCpuid final : public CpuidSource {
 public:
  bool Present() override {
#ifdef GEN_X86
    // On 32-bit processors this tries to flip the identification bit of the flags.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
  }
  CpuidRegisters Query(std::uint32_t leaf) override {
    CpuidRegisters r;
#ifdef GEN_X86
    __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
#endif
    return r;
  }
};

class RealClock final : public ClockSource {
 public:
  bool Frequency(std::int64_t& ticksPerSecond) override { return platform::PerformanceFrequency(ticksPerSecond); }
  std::int64_t Counter() override { return platform::PerformanceCounter(); }
  std::uint64_t TimeStamp() override { return ReadTimeStampCounter(); }
  void EnterTimeCritical() override {
    read_ = platform::CurrentThreadPriority(saved_);
    if (read_) platform::RaiseThreadToTimeCritical();
  }
  void LeaveTimeCritical() override {
    if (read_) platform::SetCurrentThreadPriority(saved_);
    read_ = false;
  }

 private:
  platform::ThreadPriority saved_;
  bool read_ = false;
};

// Holds the thread at time-critical priority for one measuring round.
class TimeCritical {
 public:
  explicit TimeCritical(ClockSource& clock) : clock_(clock) { clock_.EnterTimeCritical(); }
  ~TimeCritical() { clock_.LeaveTimeCritical(); }
  TimeCritical(const TimeCritical&) = delete;
  TimeCritical& operator=(const TimeCritical&) = delete;

 private:
  ClockSource& clock_;
};

}  // namespace

WindowsVersion DetectWindowsVersion(const platform::OsVersion& os, std::uint32_t kernelProductVersion) {
  const std::string_view service = platform::TrimControls(os.serviceText);
  if (os.platformId == platform::kPlatformWindows) {
    if (os.minor < 10) return service == "B" ? wvWin95OSR2 : wvWin95;
    if (os.minor < 90) {
      if (kernelProductVersion == (4u << 16 | 90u)) return wvWinME;
      return service == "A" ? wvWin98SE : wvWin98;
    }
    if (os.minor == 90) return wvWinME;
    return wvUnknown;
  }
  if (os.platformId == platform::kPlatformNT) {
    switch (os.major) {
      case 3:
        if (os.minor == 1) return wvWinNT31;
        if (os.minor == 5) return wvWinNT35;
        if (os.minor == 51) return wvWinNT351;
        return wvUnknown;
      case 4: return wvWinNT4;
      case 5:
        if (os.minor == 0) return wvWin2000;
        if (os.minor == 1) return wvWinXP;
        return wvUnknown;
      default: return wvUnknown;
    }
  }
  return wvUnknown;
}

WindowsVersion DetectWindowsVersion() { return DetectWindowsVersion(platform::QueryOsVersion(), KernelProductVersion); }

CpuidSource& ProcessorCpuid() {
  static RealCpuid cpuid;
  return cpuid;
}

ClockSource& SystemClock() {
  static RealClock clock;
  return clock;
}

void QueryCpuid(ProcessorInfo& info, CpuidSource& cpuid) {
  info = ProcessorInfo{};
  if (!cpuid.Present()) return;
  info.HasCpuid = true;
  const CpuidRegisters leaf0 = cpuid.Query(0);
  const std::uint32_t maxLeaf = leaf0.eax;
  std::memcpy(info.VendorId.data(), &leaf0.ebx, 4);
  std::memcpy(info.VendorId.data() + 4, &leaf0.edx, 4);
  std::memcpy(info.VendorId.data() + 8, &leaf0.ecx, 4);
  const std::string_view id(info.VendorId.data(), info.VendorId.size());

  std::uint32_t maxExtended = 0;
  if (id == "GenuineIntel") {
    info.Vendor = pvIntel;
  } else if (id == "AuthenticAMD" || id == "CyrixInstead") {
    info.Vendor = id == "AuthenticAMD" ? pvAMD : pvCyrix;
    maxExtended = cpuid.Query(kExtendedBase).eax;
  }
  if (maxExtended != 0) {
    ExtendedPath(info, cpuid, maxExtended, info.Vendor == pvAMD);
  } else {
    StandardPath(info, cpuid, maxLeaf, id == "GenuineIntel");
  }

  if (id == "GenuineIntel") {
    IntelDetails(info);
  } else if (id == "CyrixInstead") {
    CyrixDetails(info);
  } else if (id == "AuthenticAMD") {
    AmdDetails(info);
  } else if (id == "GenuineTMx86") {
    SetText(info.VendorName, "Transmeta");
    info.Vendor = pvTransmeta;
    SetText(info.ProcessorName, "Crusoe");
  } else {
    SetText(info.VendorName, "Unknown");
    SetText(info.ProcessorName, "Unknown");
  }
}

void QueryCpuid(ProcessorInfo& info) { QueryCpuid(info, ProcessorCpuid()); }

void DetectProcessor(ProcessorInfo& info, CpuidSource& cpuid, ClockSource& clock) {
  QueryCpuid(info, cpuid);
  info.FdivSound = FdivIsSound();
  if (!info.HasCpuid) return;
  if (info.Features & kFeatureTsc) MeasureProcessorClock(info.Frequency, clock);
  info.HasMmx = (info.Features & kFeatureMmx) != 0;
}

void DetectProcessor(ProcessorInfo& info) { DetectProcessor(info, ProcessorCpuid(), SystemClock()); }

bool FdivIsSound(double (*divide)(double x, double y)) {
  const double x = 2658955.0;
  const double y = 3.141592653589793;
  return x - divide(x, y) * y < 1.0;
}

bool FdivIsSound() {
  return FdivIsSound([](double x, double y) {
    // Kept from folding at compile time: the division must run on this processor.
    volatile double vx = x;
    volatile double vy = y;
    return vx / vy;
  });
}

bool MeasureProcessorClock(FrequencyInfo& frequency, ClockSource& clock) {
  std::int64_t perSecond = 0;
  if (!clock.Frequency(perSecond) || perSecond <= 0) return false;
  const long double tenthOfFrequency = static_cast<long double>(perSecond) / 10;

  std::uint64_t totalCycles = 0;
  std::uint64_t totalMicroseconds = 0;
  std::int64_t last[3] = {0, 0, 0};  // per-round MHz, oldest first
  for (int rounds = 0;; ++rounds) {
    if (rounds >= kMinRounds) {
      if (rounds >= kMaxRounds) break;
      const std::int64_t sum = last[0] + last[1] + last[2];
      if (std::llabs(3 * last[0] - sum) <= 3 && std::llabs(3 * last[1] - sum) <= 3 &&
          std::llabs(3 * last[2] - sum) <= 3)
        break;
    }
    last[0] = last[1];
    last[1] = last[2];

    std::uint64_t settledStamp = 0;
    std::uint64_t endStamp = 0;
    std::uint32_t ticks = 0;
    {
      std::uint32_t start = static_cast<std::uint32_t>(clock.Counter());
      TimeCritical critical(clock);
      std::uint32_t now = start;
      do {
        settledStamp = clock.TimeStamp();
        now = static_cast<std::uint32_t>(clock.Counter());
      } while (now - start < kSettleTicks);
      start = now;
      do {
        endStamp = clock.TimeStamp();
        now = static_cast<std::uint32_t>(clock.Counter());
      } while (now - start < kMeasureTicks);
      ticks = now - start;
    }

    const std::int64_t microseconds = RoundEven(ticks * 100000.0L / tenthOfFrequency);
    const std::uint64_t cycles = endStamp - settledStamp;
    totalCycles += cycles;
    totalMicroseconds += static_cast<std::uint64_t>(microseconds);
    last[2] = microseconds > 0 ? RoundEven(static_cast<long double>(cycles) / microseconds) : 0;
  }

  const long double perMicrosecond =
      totalMicroseconds > 0 ? static_cast<long double>(totalCycles) / totalMicroseconds : 0;
  std::int64_t a = RoundEven(10 * perMicrosecond);
  const std::int64_t b = RoundEven(100 * perMicrosecond);
  if (b - 10 * a >= 6) ++a;
  const std::int64_t raw = RoundEven(perMicrosecond);
  std::int64_t normalised = raw;
  if (a - 10 * raw >= 6) ++normalised;
  frequency.RawMHz = static_cast<std::uint32_t>(raw);
  frequency.Microseconds = static_cast<std::uint32_t>(totalMicroseconds);
  frequency.Cycles = static_cast<std::uint32_t>(totalCycles);
  frequency.NormalisedMHz = SnapFrequency(static_cast<std::uint32_t>(normalised));
  return true;
}

bool MeasureProcessorClock(FrequencyInfo& frequency) { return MeasureProcessorClock(frequency, SystemClock()); }

std::uint32_t SnapFrequency(std::uint32_t mhz) {
  static constexpr std::uint32_t kSteps[] = {0, 20, 33, 50, 60, 66, 80, 90, 100};
  const std::uint32_t r = mhz % 100;
  std::size_t i = 1;
  while (kSteps[i] <= r) ++i;
  const std::uint32_t above = kSteps[i];
  const std::uint32_t below = kSteps[i - 1];
  return r - below < above - r ? mhz - r + below : mhz - r + above;
}

std::uint64_t ReadTimeStampCounter() {
#ifdef GEN_X86
  return __rdtsc();
#else
  return 0;
#endif
}

void GenSysInfoStart() {
  if (startCount++ != 0) return;
  for (std::size_t i = 0; i < CacheDescriptorTable.size(); ++i) CacheDescriptorTable[i].Description = kCacheTexts[i];

  const platform::SystemInfo system = platform::QuerySystemInfo();
  NumberOfProcessors = system.processors;
  AllocationGranularity = system.allocationGranularity;
  PageSize = system.pageSize;

  const platform::OsVersion os = platform::QueryOsVersion();
  IsWinNT = os.platformId == platform::kPlatformNT;
  KernelProductVersion = 0;
  if (!IsWinNT) {
    // Not loaded on a system other than Windows: the version stays 0.
    if (const platform::ModuleHandle kernel = platform::FindLoadedModule("kernel32.dll")) {
      FixedFileInfo fixed{};
      if (ReadFixedVersionInfo(ModuleFilePath(kernel), fixed)) KernelProductVersion = fixed.ProductVersionMS;
    }
  }
  SetVersionFlag(DetectWindowsVersion(os, KernelProductVersion));
}

void GenSysInfoEnd() {
  if (startCount == 0) return;
  if (--startCount != 0) return;
  for (auto& row : CacheDescriptorTable) row.Description = std::string();
}

}  // namespace genlib
