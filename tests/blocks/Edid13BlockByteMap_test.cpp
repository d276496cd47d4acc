#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;

struct Described {
  std::string name;
  std::string group;
  std::string label;
};

Described Describe(const DataBlock& block, unsigned index) {
  Described d;
  block.DescribeByte(index, d.name, d.group, d.label);
  return d;
}

void SetSlot(std::vector<uint8_t>& data, unsigned slot, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), data.begin() + 54 + 18 * slot);
  FixChecksum(data.data());
}

std::vector<uint8_t> MakeBase14() {
  std::vector<uint8_t> data(128);
  Edid14Block::InitDefaultBytes(data.data(), 128);
  return data;
}

TEST(Edid13BlockByteMapTest, FixedSectionsOfTheBlock) {
  std::vector<uint8_t> image(256, 0);
  std::vector<uint8_t> base = MakeBase13();
  std::copy(base.begin(), base.end(), image.begin() + 128);
  Edid13Block block(128, image.data() + 128, 128, nullptr);

  const struct {
    unsigned p;
    const char* name;
    const char* group;
  } cases[] = {
      {0, "0th Byte of the Header", ""},
      {7, "7th Byte of the Header", ""},
      {8, "First Byte of Manufacturer Name", "(Vendor/Product Identification)"},
      {15, "4th Byte of Serial Number", "(Vendor/Product Identification)"},
      {17, "Year of Manufacture", "(Vendor/Product Identification)"},
      {18, "Version Number", "(EDID Structure Version)"},
      {19, "Revision Number", "(EDID Structure Version)"},
      {21, "Horizontal Screen Size/Landscape Aspect Ratio", "(Basic Display Parameters)"},
      {24, "Feature Support", "(Basic Display Parameters)"},
      {25, "Red/Green. Low Order Bits", "(Color Characteristics)"},
      {34, "White-y. High Order Bits", "(Color Characteristics)"},
      {35, "Established Timings I", "(Established Timings)"},
      {37, "Manufacturer's Reserved Timings", "(Established Timings)"},
      {38, "Pixel Width", "(Standard Timings). Timing[0]"},
      {53, "Aspect Ratio/Field Refresh Rate", "(Standard Timings). Timing[7]"},
      {126, "Number Of Extensions", ""},
      {127, "Checksum", ""},
  };
  for (const auto& c : cases) {
    const Described d = Describe(block, 128 + c.p);
    EXPECT_EQ(d.name, c.name) << c.p;
    EXPECT_EQ(d.group, c.group) << c.p;
    EXPECT_EQ(d.label, "EDID-v1.3") << c.p;
  }
  // Outside the block nothing is named.
  for (unsigned index : {0u, 127u, 256u, 1000u}) {
    const Described d = Describe(block, index);
    EXPECT_TRUE(d.name.empty() && d.group.empty() && d.label.empty()) << index;
  }
}

TEST(Edid13BlockByteMapTest, DescriptorSlots) {
  std::vector<uint8_t> data = MakeBase13();
  SetSlot(data, 0, {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0x00, 0xA0, 0x5A, 0, 0, 0, 0x1E});
  SetSlot(data, 1, {0, 0, 0, 0xFA, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0x0A});
  SetSlot(data, 2, {0, 0, 0, 0xFD, 0, 1, 0xFF, 1, 0xFF, 1, 0, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  Edid13Block block(0, data.data(), 128, nullptr);

  Described d = Describe(block, 54);
  EXPECT_EQ(d.name, "Pixel Clock. Low Order Bits");
  EXPECT_EQ(d.group, "(Detailed Timing). 0th Byte of Entry[0]");
  d = Describe(block, 71);
  EXPECT_EQ(d.group, "(Detailed Timing). 17th Byte of Entry[0]");

  // Standard timings descriptor: positions 15 and 16 are timing 5, 17 the line feed.
  d = Describe(block, 72 + 15);
  EXPECT_EQ(d.name, "Pixel Width");
  EXPECT_EQ(d.group, "(Standard Timings Descriptor). Timing[5]. Entry[1]");
  d = Describe(block, 72 + 16);
  EXPECT_EQ(d.name, "Aspect Ratio/Field Refresh Rate");
  EXPECT_EQ(d.group, "(Standard Timings Descriptor). Timing[5]. Entry[1]");
  d = Describe(block, 72 + 17);
  EXPECT_EQ(d.name, "Line Feed");
  EXPECT_EQ(d.group, "(Standard Timings Descriptor). Entry[1]");
  d = Describe(block, 72 + 3);
  EXPECT_EQ(d.name, "Display Descriptor Tag");
  EXPECT_EQ(d.group, "(Standard Timings Descriptor). Entry[1]");

  // Range limits in a 1.3 block: byte 4 is reserved, bytes 11-17 unused.
  d = Describe(block, 90 + 4);
  EXPECT_EQ(d.name, "Reserved Byte of Display Descriptor");
  EXPECT_EQ(d.group, "(Display Range Limits Descriptor). Entry[2]");
  d = Describe(block, 90 + 9);
  EXPECT_EQ(d.name, "Maximum Pixel Clock");
  d = Describe(block, 90 + 11);
  EXPECT_EQ(d.name, "Line Feed - 6th Byte of Range Limits (Unused)");
  d = Describe(block, 90 + 17);
  EXPECT_EQ(d.name, "Space - 12th Byte of Range Limits (Unused)");

  // Dummy descriptor of slot 3.
  d = Describe(block, 108 + 0);
  EXPECT_EQ(d.name, "First Byte of Display Descriptor Identification");
  EXPECT_EQ(d.group, "(Dummy/Unused Descriptor). Entry[3]");
  d = Describe(block, 108 + 5);
  EXPECT_EQ(d.name, "0th Byte Of Dummy (unused) Descriptor");
  d = Describe(block, 125);
  EXPECT_EQ(d.name, "12th Byte Of Dummy (unused) Descriptor");
}

TEST(Edid13BlockByteMapTest, RangeLimitsByteNamesFollowTheSupportByte) {
  std::vector<uint8_t> data = MakeBase13();
  SetSlot(data, 0, {0, 0, 0, 0xFD, 0, 1, 0xFF, 1, 0xFF, 1, 0x02, 0, 0, 0, 0, 0, 0, 0});
  Edid13Block block(0, data.data(), 128, nullptr);
  EXPECT_EQ(Describe(block, 54 + 11).name, "GTF. Reserved");
  EXPECT_EQ(Describe(block, 54 + 15).name, "GTF. Parameter M. High Order Bits");
  EXPECT_EQ(Describe(block, 54 + 17).name, "GTF. Parameter J");
  data[54 + 10] = 4;
  EXPECT_EQ(Describe(block, 54 + 12).name, "CVT. Pixel Clock Precision");
  EXPECT_EQ(Describe(block, 54 + 17).name, "CVT. Preferred Vertical Refresh Rate");
  EXPECT_EQ(Describe(block, 54 + 10).name, "Video Timing Support Flags");
}

TEST(Edid13BlockByteMapTest, TextAndColorPointDescriptors) {
  std::vector<uint8_t> data = MakeBase13();
  SetSlot(data, 0, {0, 0, 0, 0xFE, 0, 'a', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  SetSlot(data, 1, {0, 0, 0, 0xFF, 0, '1', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  SetSlot(data, 2, {0, 0, 0, 0xFC, 0, 'n', 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20});
  SetSlot(data, 3, {0, 0, 0, 0xFB, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0x0A, 0x20, 0x20});
  Edid13Block block(0, data.data(), 128, nullptr);
  Described d = Describe(block, 54 + 6);
  EXPECT_EQ(d.name, "1th Byte Of  Alphanumeric Data String");
  EXPECT_EQ(d.group, "(Alphanumeric Data String Descriptor). Entry[0]");
  d = Describe(block, 72 + 17);
  EXPECT_EQ(d.name, "12th Byte Of Display Product Serial Number");
  EXPECT_EQ(d.group, "(Display Product Serial Number Descriptor). Entry[1]");
  d = Describe(block, 90 + 5);
  EXPECT_EQ(d.name, "0th Byte Of Display Product Name");
  EXPECT_EQ(d.group, "(Display Product Name Descriptor). Entry[2]");

  const struct {
    unsigned b;
    const char* name;
    const char* group;
  } points[] = {
      {5, "White Point Index Number", "(Color Point Data Descriptor). First Set. Entry[3]"},
      {9, "Gamma", "(Color Point Data Descriptor). First Set. Entry[3]"},
      {11, "White-x/White-y. Low Order Bits", "(Color Point Data Descriptor). Second Set. Entry[3]"},
      {14, "Gamma", "(Color Point Data Descriptor). Second Set. Entry[3]"},
      {15, "Line Feed", "(Color Point Data Descriptor). Entry[3]"},
      {16, "Space - 11th Byte", "(Color Point Data Descriptor). Entry[3]"},
      {17, "Space - 12th Byte", "(Color Point Data Descriptor). Entry[3]"},
      {3, "Display Descriptor Tag", "(Color Point Data Descriptor). Entry[3]"},
  };
  for (const auto& p : points) {
    d = Describe(block, 108 + p.b);
    EXPECT_EQ(d.name, p.name) << p.b;
    EXPECT_EQ(d.group, p.group) << p.b;
  }

  // An unknown tag has names for its header bytes only, and no group.
  data[108 + 3] = 0x42;
  d = Describe(block, 108 + 2);
  EXPECT_EQ(d.name, "Reserved Byte of Display Descriptor");
  EXPECT_TRUE(d.group.empty());
  d = Describe(block, 108 + 6);
  EXPECT_TRUE(d.name.empty());
  EXPECT_TRUE(d.group.empty());
  EXPECT_EQ(d.label, "EDID-v1.3");
}

TEST(Edid13BlockByteMapTest, Byte58IsTheRateOffsetsOnlyIn14) {
  const std::vector<uint8_t> range = {0, 0, 0, 0xFD, 0x0A, 1, 0xFF, 1, 0xFF, 1, 0, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  std::vector<uint8_t> data13 = MakeBase13();
  SetSlot(data13, 0, range);
  std::vector<uint8_t> data14 = MakeBase14();
  SetSlot(data14, 0, range);
  Edid13Block block13(0, data13.data(), 128, nullptr);
  Edid14Block block14(0, data14.data(), 128, nullptr);
  EXPECT_EQ(Describe(block13, 58).name, "Reserved Byte of Display Descriptor");
  EXPECT_EQ(Describe(block14, 58).name, "Vertical/Horizontal Rate Offsets");
  EXPECT_EQ(Describe(block14, 58).label, "EDID-v1.4");
  // Only for a range limits descriptor.
  data14[54 + 3] = 0x10;
  EXPECT_EQ(Describe(block14, 58).name, "Reserved Byte of Display Descriptor");
}

TEST(Edid13BlockByteMapTest, Edid14Descriptors) {
  std::vector<uint8_t> data = MakeBase14();
  Edid14Block block(0, data.data(), 128, nullptr);
  block.CreateDescriptor(kDescriptorColorManagement, 0);
  block.CreateDescriptor(kDescriptorCvtCodes, 1);
  block.CreateDescriptor(kDescriptorEstablishedTimingsIII, 2);

  const struct {
    unsigned index;
    const char* name;
    const char* group;
  } cases[] = {
      {54 + 5, "Version Number", "(Color Management Data Descriptor). Entry[0]"},
      {54 + 6, "Red a3. Low Order Bits", "(Color Management Data Descriptor). Entry[0]"},
      {54 + 17, "Blue a2. High Order Bits", "(Color Management Data Descriptor). Entry[0]"},
      {54 + 3, "Display Descriptor Tag", "(Color Management Data Descriptor). Entry[0]"},
      {72 + 5, "Version Number", "(CVT 3 Byte Code Descriptor). Entry[1]"},
      {72 + 6, "Vertical Addressable. Low Order Bits", "(CVT 3 Byte Code Descriptor). Timing[0]. Entry[1]"},
      {72 + 10, "Aspect Ratio/High Order Bits of Vertical Addressable",
       "(CVT 3 Byte Code Descriptor). Timing[1]. Entry[1]"},
      {72 + 17, "Preferred Vertical Rate/Supported Vertical Rate and Blanking Style",
       "(CVT 3 Byte Code Descriptor). Timing[3]. Entry[1]"},
      {90 + 5, "Version Number", "(Established Timings III Descriptor). Entry[2]"},
      {90 + 6, "640 x 350 @ 85Hz  --  1152 x 864 @ 75Hz",
       "(Established Timings III Descriptor). Timing Byte[0]. Entry[2]"},
      {90 + 11, "1920 x 1200 @ 75Hz  --  1920 x 1440 @ 75Hz",
       "(Established Timings III Descriptor). Timing Byte[5]. Entry[2]"},
      {90 + 12, "Reserved Byte", "(Established Timings III Descriptor). Timing Byte[6]. Entry[2]"},
      {90 + 17, "Reserved Byte", "(Established Timings III Descriptor). Timing Byte[11]. Entry[2]"},
  };
  for (const auto& c : cases) {
    const Described d = Describe(block, c.index);
    EXPECT_EQ(d.name, c.name) << c.index;
    EXPECT_EQ(d.group, c.group) << c.index;
  }

  // The same tags in a 1.3 block are unknown tags.
  std::vector<uint8_t> data13 = MakeBase13();
  std::copy(data.begin() + 54, data.begin() + 126, data13.begin() + 54);
  Edid13Block block13(0, data13.data(), 128, nullptr);
  EXPECT_TRUE(Describe(block13, 54 + 6).group.empty());
  EXPECT_TRUE(Describe(block13, 72 + 6).name.empty());
}

TEST(Edid13BlockValidateTest, AnAcceptedBlockIsValidEvenWithABadChecksum) {
  std::vector<uint8_t> data = MakeBase13();
  data[127] ^= 0x5A;
  Edid13Block block(0, data.data(), 128, nullptr);
  ContentCollector report;
  EXPECT_EQ(block.Validate(&report), 0u);
  EXPECT_EQ(report.Text(),
            "\r\nValidating EDID1.3 Base Block. Data Range: Byte[0] --> Byte[127]\r\n"
            "  Block is valid\r\n");

  std::vector<uint8_t> data14 = MakeBase14();
  Edid14Block block14(0, data14.data(), 128, nullptr);
  ContentCollector report14;
  EXPECT_EQ(block14.Validate(&report14), 0u);
  EXPECT_EQ(report14.Text(),
            "\r\nValidating EDID1.4 Base Block. Data Range: Byte[0] --> Byte[127]\r\n"
            "  Block is valid\r\n");
}

TEST(Edid13BlockValidateTest, CandidateChecks) {
  std::vector<uint8_t> data = MakeBase13();
  data[18] = 2;
  ContentCollector report;
  EXPECT_FALSE(Edid13Block::CheckCandidate(data.data(), 0, 128, &report));
  EXPECT_EQ(report.Text(),
            "  EDID1.3.........: Byte[18] = 0x02 defines invalid version (2.XX). Supported version pattern is 1.XX\r\n");

  data[18] = 1;
  data[19] = 4;
  ContentCollector sub;
  EXPECT_FALSE(Edid13Block::CheckCandidate(data.data(), 0, 128, &sub));
  EXPECT_EQ(sub.Text(), "  EDID1.3.........: Byte[19] = 0x04 defines invalid sub-version. Should be 3 or lower\r\n");
  ContentCollector ok14;
  EXPECT_TRUE(Edid14Block::CheckCandidate(data.data(), 0, 128, &ok14));
  EXPECT_TRUE(ok14.Text().empty());

  data[19] = 3;
  ContentCollector sub14;
  EXPECT_FALSE(Edid14Block::CheckCandidate(data.data(), 0, 128, &sub14));
  EXPECT_EQ(sub14.Text(), "  EDID1.4.........: Byte[19] = 0x03 defines invalid sub-version. Should be 4\r\n");

  data[5] = 0xFE;
  ContentCollector header;
  EXPECT_FALSE(Edid14Block::CheckCandidate(data.data(), 0, 128, &header));
  EXPECT_EQ(header.Text(),
            "  EDID1.4.........: Byte[5] = 0xFE does not match EDID header pattern (0x00 0xFF 0xFF 0xFF 0xFF 0xFF "
            "0xFF 0x00)\r\n");
}

}  // namespace
}  // namespace velmar
