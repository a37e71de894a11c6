#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "genlib/GenSysInfo.h"

using namespace genlib;

namespace {

// A processor that answers the identification instruction from a table.
class FakeCpuid : public CpuidSource {
 public:
  bool present = true;
  std::map<std::uint32_t, CpuidRegisters> leaves;
  std::vector<CpuidRegisters> leaf2;  // successive answers of leaf 2
  int leaf2Queries = 0;

  bool Present() override { return present; }
  CpuidRegisters Query(std::uint32_t leaf) override {
    if (leaf == 2 && !leaf2.empty()) {
      const std::size_t i = std::min<std::size_t>(leaf2Queries, leaf2.size() - 1);
      ++leaf2Queries;
      return leaf2[i];
    }
    const auto it = leaves.find(leaf);
    return it == leaves.end() ? CpuidRegisters{} : it->second;
  }

  void Vendor(const char (&id)[13], std::uint32_t maxLeaf) {
    CpuidRegisters r;
    r.eax = maxLeaf;
    std::memcpy(&r.ebx, id, 4);
    std::memcpy(&r.edx, id + 4, 4);
    std::memcpy(&r.ecx, id + 8, 4);
    leaves[0] = r;
  }
  void Signature(unsigned family, unsigned model, std::uint32_t features = 0, unsigned brand = 0) {
    leaves[1] = CpuidRegisters{family << 8 | model << 4 | 2u, brand, 0, features};
  }
  void Brand(const char (&name)[49]) {
    for (std::uint32_t i = 0; i < 3; ++i) {
      CpuidRegisters r;
      std::memcpy(&r, name + 16 * i, 16);
      leaves[0x80000002 + i] = r;
    }
  }
};

// Leaf 2 answered once, with these descriptor bytes after the count byte 1.
CpuidRegisters Descriptors(std::initializer_list<std::uint8_t> bytes) {
  std::uint8_t b[16] = {1};
  std::size_t i = 1;
  for (auto v : bytes) b[i++] = v;
  CpuidRegisters r;
  std::memcpy(&r, b, 16);
  return r;
}

std::string Name(const ProcessorInfo& info) { return info.ProcessorName.data(); }
std::string VendorName(const ProcessorInfo& info) {
  return std::string(info.VendorName.data(), strnlen(info.VendorName.data(), info.VendorName.size()));
}

ProcessorInfo Query(FakeCpuid& cpu) {
  ProcessorInfo info;
  QueryCpuid(info, cpu);
  return info;
}

struct NameCase {
  unsigned family, model, brand;
  std::uint8_t l2Descriptor;  // 0: no cache descriptors (highest leaf 1)
  const char* name;
};

}  // namespace

TEST(SnapFrequency, ToTheNearestStepAndUpOnATie) {
  EXPECT_EQ(SnapFrequency(348), 350u);
  EXPECT_EQ(SnapFrequency(365), 366u);
  EXPECT_EQ(SnapFrequency(377), 380u);
  EXPECT_EQ(SnapFrequency(395), 400u);
  EXPECT_EQ(SnapFrequency(333), 333u);
  EXPECT_EQ(SnapFrequency(0), 0u);
  EXPECT_EQ(SnapFrequency(10), 20u);  // halfway between 0 and 20
  EXPECT_EQ(SnapFrequency(26), 20u);
  EXPECT_EQ(SnapFrequency(27), 33u);
  EXPECT_EQ(SnapFrequency(63), 66u);  // halfway between 60 and 66
  EXPECT_EQ(SnapFrequency(199), 200u);
  EXPECT_EQ(SnapFrequency(2999), 3000u);
  EXPECT_EQ(SnapFrequency(1400), 1400u);
}

TEST(QueryCpuid, WithoutTheInstruction) {
  FakeCpuid cpu;
  cpu.present = false;
  const ProcessorInfo info = Query(cpu);
  EXPECT_FALSE(info.HasCpuid);
  EXPECT_EQ(info.Family, 4);
  EXPECT_EQ(info.Features, 0u);
  EXPECT_EQ(Name(info), "");
}

TEST(QueryCpuid, IntelNames) {
  const NameCase cases[] = {
      {4, 1, 0, 0, "Intel 486DX Processor"},
      {4, 2, 0, 0, "Intel 486SX Processor"},
      {4, 3, 0, 0, "Intel DX2 Processor"},
      {4, 5, 0, 0, "Intel SX2 Processor"},
      {4, 7, 0, 0, "Write-Back Enhanced Intel DX2 Processor"},
      {4, 8, 0, 0, "Intel DX4 Processor"},
      {4, 4, 0, 0, "Intel 486 Processor"},
      {5, 2, 0, 0, "Pentium"},
      {6, 1, 0, 0, "Pentium Pro"},
      {6, 3, 0, 0x42, "Pentium II"},
      {6, 5, 0, 0, "Celeron"},
      {6, 5, 0, 0x40, "Celeron"},
      {6, 5, 0, 0x44, "Pentium II Xeon"},
      {6, 5, 0, 0x45, "Pentium II Xeon"},
      {6, 5, 0, 0x43, "Pentium II"},
      {6, 6, 0, 0x41, "Celeron"},
      {6, 6, 0, 0x42, "Pentium II"},
      {6, 7, 0, 0x45, "Pentium III Xeon"},
      {6, 7, 0, 0x43, "Pentium III"},
      {6, 8, 1, 0, "Celeron"},
      {6, 8, 3, 0, "Pentium III Xeon"},
      {6, 8, 2, 0, "Pentium III"},
      {6, 10, 0, 0, "Pentium III Xeon"},
      {6, 11, 0, 0, "Pentium III"},
      {6, 12, 0, 0, "P6 (Model 12)"},
      {15, 2, 1, 0, "Celeron"},
      {15, 2, 14, 0, "Xeon"},
      {15, 2, 8, 0, "Pentium 4"},
      {7, 0, 0, 0, "P7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeCpuid cpu;
    cpu.Vendor("GenuineIntel", c.l2Descriptor ? 2 : 1);
    cpu.Signature(c.family, c.model, 0, c.brand);
    if (c.l2Descriptor) cpu.leaf2 = {Descriptors({0x01, c.l2Descriptor, 0x0A})};
    const ProcessorInfo info = Query(cpu);
    EXPECT_EQ(Name(info), c.name);
    EXPECT_EQ(VendorName(info), "Intel");
    EXPECT_EQ(info.Vendor, pvIntel);
    EXPECT_EQ(info.Family, c.family);
    EXPECT_EQ(info.Model, c.model);
    EXPECT_EQ(info.Stepping, 2);
    EXPECT_EQ(info.BrandIndex, c.brand);
    EXPECT_EQ(info.HasCacheInfo, c.l2Descriptor != 0);
    EXPECT_FALSE(info.HasExtendedInfo);
  }
}

TEST(QueryCpuid, IntelCacheDescriptors) {
  FakeCpuid cpu;
  cpu.Vendor("GenuineIntel", 2);
  cpu.Signature(6, 7, kFeatureTsc | kFeatureMmx);
  // The last second-level descriptor wins.
  cpu.leaf2 = {Descriptors({0x43, 0x08, 0x41})};
  ProcessorInfo info = Query(cpu);
  EXPECT_EQ(info.L2CacheKB, 128u);
  EXPECT_EQ(info.CacheDescriptors[1], 0x43);
  EXPECT_EQ(info.Features, kFeatureTsc | kFeatureMmx);

  // The count byte is not a descriptor; the leaf is asked as often as it says
  // and the last answer is kept.
  FakeCpuid repeat;
  repeat.Vendor("GenuineIntel", 2);
  repeat.Signature(6, 7);
  CpuidRegisters first = Descriptors({0x41});
  first.eax = (first.eax & ~0xFFu) | 0x44;  // asked 0x44 times
  repeat.leaf2 = {first, first, Descriptors({0x45})};
  repeat.leaf2.back().eax = (repeat.leaf2.back().eax & ~0xFFu) | 0x44;
  info = Query(repeat);
  EXPECT_EQ(repeat.leaf2Queries, 0x44);
  EXPECT_EQ(info.L2CacheKB, 2048u);
  EXPECT_EQ(Name(info), "Pentium III Xeon");

  // A count of 0 stores nothing.
  FakeCpuid none;
  none.Vendor("GenuineIntel", 2);
  none.Signature(6, 6);
  CpuidRegisters zero = Descriptors({0x45});
  zero.eax &= ~0xFFu;
  none.leaf2 = {zero};
  info = Query(none);
  EXPECT_EQ(none.leaf2Queries, 1);
  EXPECT_TRUE(info.HasCacheInfo);
  EXPECT_EQ(info.CacheDescriptors[1], 0);
  EXPECT_EQ(Name(info), "Celeron");
}

TEST(QueryCpuid, CyrixAndAmdNames) {
  struct Case {
    const char (&id)[13];
    const char* vendor;
    std::uint8_t code;
    unsigned family, model;
    const char* name;
  };
  const Case cases[] = {
      {"CyrixInstead", "Cyrix", pvCyrix, 4, 4, "Cyrix MediaGX"},
      {"CyrixInstead", "Cyrix", pvCyrix, 5, 2, "Cyrix 6x86"},
      {"CyrixInstead", "Cyrix", pvCyrix, 5, 4, "Cyrix GXm"},
      {"CyrixInstead", "Cyrix", pvCyrix, 5, 3, ""},
      {"CyrixInstead", "Cyrix", pvCyrix, 6, 0, "6x86MX"},
      {"CyrixInstead", "Cyrix", pvCyrix, 7, 1, "7x86"},
      {"AuthenticAMD", "AMD", pvAMD, 4, 3, "Am486(R) or Am5x86"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 0, "AMD-K5 (Model 0)"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 3, "AMD-K5 (Model 3)"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 6, "AMD-K6(R)"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 7, "AMD-K6"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 8, "AMD-K6(R) -2"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 9, "AMD-K6(R) -3"},
      {"AuthenticAMD", "AMD", pvAMD, 5, 10, "Unknown AMD Model"},
      {"AuthenticAMD", "AMD", pvAMD, 6, 1, "Unknown AMD Chip"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeCpuid cpu;
    cpu.Vendor(c.id, 1);
    cpu.Signature(c.family, c.model);
    const ProcessorInfo info = Query(cpu);  // no extended leaves: standard path
    EXPECT_EQ(Name(info), c.name);
    EXPECT_EQ(VendorName(info), c.vendor);
    EXPECT_EQ(info.Vendor, c.code);
  }
}

TEST(QueryCpuid, AmdExtendedLeaves) {
  FakeCpuid cpu;
  cpu.Vendor("AuthenticAMD", 1);
  cpu.Signature(5, 6, 0, 7);  // the standard leaf is not asked on this path
  cpu.leaves[0x80000000] = {0x80000005, 0, 0, 0};
  cpu.leaves[0x80000001] = {0x3622, 0, 0, kFeatureTsc | kFeatureMmx | 0x80000000u};
  cpu.Brand("AMD Athlon(tm) Processor, 48 characters long....");
  cpu.leaves[0x80000005] = {0, 0x12345678, 0x40020140, 0x40020240};
  const ProcessorInfo info = Query(cpu);
  EXPECT_TRUE(info.HasExtendedInfo);
  EXPECT_TRUE(info.HasCacheInfo);
  EXPECT_EQ(info.ProcessorType, 3);  // four type bits here
  EXPECT_EQ(info.Family, 6);
  EXPECT_EQ(info.Model, 2);
  EXPECT_EQ(info.Stepping, 2);
  EXPECT_EQ(info.BrandIndex, 0);
  EXPECT_EQ(info.Features, kFeatureTsc | kFeatureMmx | 0x80000000u);
  EXPECT_EQ(Name(info), "AMD Athlon(tm) Processor, 48 characters long....");
  EXPECT_EQ(info.ProcessorName[48], 0);
  EXPECT_EQ(info.DataTlb, 0x1234);
  EXPECT_EQ(info.InstructionTlb, 0x5678);
  EXPECT_EQ(info.L1DataCache, 0x40020140u);
  EXPECT_EQ(info.L1InstructionCache, 0x40020240u);
  EXPECT_EQ(info.CyrixL1Cache, 0u);

  // Extended leaves up to 0x80000001 only: no name from the tables either.
  FakeCpuid shortExt;
  shortExt.Vendor("AuthenticAMD", 1);
  shortExt.leaves[0x80000000] = {0x80000001, 0, 0, 0};
  shortExt.leaves[0x80000001] = {0x0562, 0, 0, 0};
  const ProcessorInfo k6 = Query(shortExt);
  EXPECT_TRUE(k6.HasExtendedInfo);
  EXPECT_FALSE(k6.HasCacheInfo);
  EXPECT_EQ(Name(k6), "");
}

TEST(QueryCpuid, CyrixExtendedLeaves) {
  FakeCpuid cpu;
  cpu.Vendor("CyrixInstead", 1);
  cpu.leaves[0x80000000] = {0x80000005, 0, 0, 0};
  cpu.leaves[0x80000001] = {0x0602, 0, 0, kFeatureMmx};
  cpu.Brand("Cyrix MII\0                                      ");
  cpu.leaves[0x80000005] = {0, 0x00000030, 0x80000120, 0};
  const ProcessorInfo info = Query(cpu);
  EXPECT_EQ(Name(info), "Cyrix MII");
  EXPECT_EQ(info.CyrixTlb, 0x30u);
  EXPECT_EQ(info.CyrixL1Cache, 0x80000120u);
  EXPECT_EQ(info.DataTlb, 0);
  EXPECT_EQ(info.Features, kFeatureMmx);
}

TEST(QueryCpuid, TransmetaAndUnknownVendors) {
  FakeCpuid tm;
  tm.Vendor("GenuineTMx86", 1);
  tm.Signature(5, 4, kFeatureTsc);
  ProcessorInfo info = Query(tm);
  EXPECT_EQ(VendorName(info), "Transmeta");
  EXPECT_EQ(info.Vendor, pvTransmeta);
  EXPECT_EQ(Name(info), "Crusoe");
  EXPECT_EQ(info.Features, kFeatureTsc);

  FakeCpuid other;
  other.Vendor("CentaurHauls", 1);
  other.Signature(6, 9, kFeatureMmx);
  info = Query(other);
  EXPECT_EQ(std::string(info.VendorId.data(), 12), "CentaurHauls");
  EXPECT_EQ(VendorName(info), "Unknown");
  EXPECT_EQ(Name(info), "Unknown");
  EXPECT_EQ(info.Vendor, pvUnknown);
  EXPECT_EQ(info.Family, 6);
  EXPECT_EQ(info.Features, kFeatureMmx);

  // No standard leaf beyond 0: nothing but the vendor.
  FakeCpuid bare;
  bare.Vendor("GenuineIntel", 0);
  bare.Signature(6, 8, kFeatureMmx);
  info = Query(bare);
  EXPECT_EQ(info.Features, 0u);
  EXPECT_EQ(info.Family, 4);
  EXPECT_EQ(Name(info), "Intel 486 Processor");
}

TEST(QueryCpuid, TheRunningProcessor) {
  ProcessorInfo info;
  QueryCpuid(info);
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_TRUE(info.HasCpuid);
  EXPECT_FALSE(VendorName(info).empty());
#else
  EXPECT_FALSE(info.HasCpuid);
#endif
}

TEST(FdivIsSound, TellsASoundDivisionFromAFlawedOne) {
  EXPECT_TRUE(FdivIsSound());
  EXPECT_TRUE(FdivIsSound([](double x, double y) { return x / y; }));
  // The flawed divider of old erred from the fifth digit on.
  EXPECT_FALSE(FdivIsSound([](double x, double y) { return x / y * (1 - 1e-5); }));
  // The bound lies at a remainder of 1.
  EXPECT_TRUE(FdivIsSound([](double x, double y) { return (x - 0.9) / y; }));
  EXPECT_FALSE(FdivIsSound([](double x, double y) { return (x - 1.1) / y; }));
}

TEST(DetectWindowsVersion, CodesByPlatformVersionAndServiceText) {
  struct Case {
    std::uint32_t platform, major, minor;
    const char* service;
    std::uint32_t kernel;
    WindowsVersion code;
  };
  const Case cases[] = {
      {1, 4, 0, "", 0, wvWin95},
      {1, 4, 0, " B ", 0, wvWin95OSR2},
      {1, 4, 3, "C", 0, wvWin95},
      {1, 4, 10, "", 0x0004000A, wvWin98},
      {1, 4, 10, " A ", 0x0004000A, wvWin98SE},
      {1, 4, 10, " A ", 0x0004005A, wvWinME},
      {1, 4, 89, "", 0, wvWin98},
      {1, 4, 90, "", 0, wvWinME},
      {1, 4, 91, "", 0, wvUnknown},
      {2, 3, 1, "", 0, wvWinNT31},
      {2, 3, 5, "", 0, wvWinNT35},
      {2, 3, 51, "", 0, wvWinNT351},
      {2, 3, 0, "", 0, wvUnknown},
      {2, 4, 0, "Service Pack 6", 0, wvWinNT4},
      {2, 5, 0, "", 0, wvWin2000},
      {2, 5, 1, "", 0, wvWinXP},
      {2, 5, 2, "", 0, wvUnknown},
      {2, 6, 0, "", 0, wvUnknown},
      {0, 3, 11, "", 0, wvUnknown},
      {platform::kPlatformOther, 6, 1, "", 0, wvUnknown},
  };
  for (const auto& c : cases) {
    platform::OsVersion os;
    os.platformId = c.platform;
    os.major = c.major;
    os.minor = c.minor;
    os.serviceText = c.service;
    EXPECT_EQ(DetectWindowsVersion(os, c.kernel), c.code) << c.platform << ' ' << c.major << '.' << c.minor;
  }
}

TEST(GenSysInfoStart, ReportsThisSystemTruthfully) {
  GenSysInfoStart();
  EXPECT_FALSE(IsWinNT);
  EXPECT_EQ(KernelProductVersion, 0u);
  EXPECT_EQ(DetectWindowsVersion(), wvUnknown);
  for (bool flag : {IsWin95, IsWin95OSR2, IsWin98, IsWin98SE, IsWinME, IsWinNT31, IsWinNT35, IsWinNT351, IsWinNT4,
                    IsWin2000, IsWinXP, IsWinNT3})
    EXPECT_FALSE(flag);
  EXPECT_GE(NumberOfProcessors, 1u);
  EXPECT_GT(PageSize, 0u);
  EXPECT_EQ(PageSize & (PageSize - 1), 0u);
  EXPECT_GE(AllocationGranularity, PageSize);
  EXPECT_EQ(CacheDescriptorTable[0].Code, 1u);
  EXPECT_EQ(CacheDescriptorTable[0].Description, "Instruction TLB, 4Kb pages, 4-way set associative, 32 entries");
  EXPECT_EQ(CacheDescriptorTable[13].Code, 0x45u);
  EXPECT_EQ(CacheDescriptorTable[13].Description, "Unified cache, 32 byte cache line, 4-way set associative, 2Mb");
  GenSysInfoStart();
  GenSysInfoEnd();
  EXPECT_FALSE(CacheDescriptorTable[5].Description.empty());
  GenSysInfoEnd();
  for (const auto& row : CacheDescriptorTable) EXPECT_TRUE(row.Description.empty());
  EXPECT_EQ(CacheDescriptorTable[8].Code, 0x40u);
}
