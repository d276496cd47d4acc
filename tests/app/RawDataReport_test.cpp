#include "app/RawDataReport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/EdidImage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Clock.h"

namespace velmar {
namespace {

using testing::FixChecksum;
using testing::MakeBase13;
using testing::ScriptedUserInterface;

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    LocalTime moment;
    moment.year = 2026;
    moment.month = 3;
    moment.day = 7;
    moment.hour = 9;
    moment.minute = 5;
    moment.second = 1;
    clock.Set(moment);
    image.SetClock(&clock);
  }
  void Load(const std::vector<uint8_t>& bytes) {
    image.ResetForLoad();
    std::copy(bytes.begin(), bytes.end(), image.rawData.begin());
    image.Rebuild();
  }
  std::string Report() {
    ContentCollector report;
    image.FillContent(&report, kContentErrorsReport);
    EXPECT_EQ(report.title, "EDID Errors Report");
    return report.Text();
  }

  ScriptedUserInterface ui;
  EdidImage image{ui};
  FixedClock clock{LocalTime{}};
};

TEST_F(ReportTest, DumpOf128Bytes) {
  Load(MakeBase13());
  ContentCollector summary;
  image.FillContent(&summary, kContentSummary);
  EXPECT_EQ(summary.title, "EDID Data Summary");
  const std::string& text = summary.Text();
  const std::string expectedStart =
      "[EDID RAW DATA]\r\n"
      "    |00|01|02|03|04|05|06|07|08|09|0A|0B|0C|0D|0E|0F|\r\n"
      "----+--+--+--+--+--+--+--+--+--+--+--+--+--+--+--+--+\r\n"
      " 00 |00 ff ff ff ff ff ff 00 00 00 00 00 00 00 00 00 \r\n"
      " 10 |00 00 01 03 00 00 00 00 00 00 00 00 00 00 00 00 \r\n";
  EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(text.find(" 70 |"), std::string::npos);
  EXPECT_EQ(text.find(" 80 |"), std::string::npos);
}

TEST_F(ReportTest, DumpOfAPartialRowAndThreeDigitLabels) {
  ContentCollector dump;
  std::vector<uint8_t> bytes(300, 0xAB);
  AppendRawDump(&dump, bytes.data(), 261);
  const std::string& text = dump.Text();
  EXPECT_NE(text.find("\r\n F0 |ab "), std::string::npos);
  const std::string lastRow = "\r\n100 |ab ab ab ab ab \r\n";
  ASSERT_GE(text.size(), lastRow.size());
  EXPECT_EQ(text.substr(text.size() - lastRow.size()), lastRow);
}

TEST_F(ReportTest, EmptyImageSummaryAndReport) {
  ContentCollector summary;
  image.FillContent(&summary, kContentSummary);
  EXPECT_NE(summary.Text().find("1F0 |00 "), std::string::npos);
  EXPECT_EQ(Report(),
            "REPORT  GENERATED: 09:05:01, 03/07/2026\r\n"
            "\r\nValidating Non-Mapped Raw Data. Data Range: Byte[0] --> Byte[511]\r\n"
            "   Non-Mapped Raw Data is valid\r\n"
            "\r\nVERDICT: 0 ERRORS FOUND\r\nEND OF REPORT\r\n");
}

TEST_F(ReportTest, AnnouncedExtensionsMissing) {
  std::vector<uint8_t> bytes = MakeBase13(2);
  bytes.resize(256, 0);
  bytes[128] = 0x02;
  bytes[129] = 0x03;
  FixChecksum(bytes.data() + 128);
  Load(bytes);
  ASSERT_EQ(image.BlockCount(), 2u);
  const std::string report = Report();
  EXPECT_NE(report.find("\r\nValidating Non-Mapped Raw Data. Data Range: Byte[256] --> Byte[511]\r\n"
                        "  Invalid number of extensions: 2 while there is only 1 extensions detected (rest buffer "
                        "is Zero)\r\n"),
            std::string::npos);
}

TEST_F(ReportTest, NonZeroBytesAfterTheLastAnnouncedBlock) {
  std::vector<uint8_t> bytes = MakeBase13(0);
  bytes.resize(200, 0);
  bytes[150] = 0x5A;
  Load(bytes);
  const std::string report = Report();
  EXPECT_NE(report.find("  Invalid number of extensions: 0 while non-zero Byte[150] = 0x5A found\r\n"),
            std::string::npos);
}

TEST_F(ReportTest, BytesThatAreNoExtensionRunAllThreeChecks) {
  std::vector<uint8_t> bytes = MakeBase13(1);
  bytes.resize(256, 0);
  bytes[140] = 0x10;  // a zero tag: no extension block
  Load(bytes);
  ASSERT_EQ(image.BlockCount(), 1u);
  const std::string report = Report();
  EXPECT_NE(report.find("Data Range: Byte[128] --> Byte[511]\r\n"
                        "  CEA Ext Block...: Byte[128] = 0x00 does not match CEA extension tag (0x02)\r\n"
                        "DI Ext Block....: Byte[128] = 0x00 does not match DI extension tag (0x40)\r\n"
                        "  DisplayID1.1 Ext: Byte[128] = 0x00 does not match DisplayID extension tag (0x70)\r\n"
                        "  Extension Block 1 of 1 (from Byte[128]) not loaded: Byte[128] = 0x00 is not an extension "
                        "tag\r\n"),
            std::string::npos)
      << report;
}

TEST_F(ReportTest, UnrecognisedBytesRunTheThreeBaseChecks) {
  std::vector<uint8_t> bytes(128, 0);
  bytes[3] = 0x42;
  Load(bytes);
  const std::string report = Report();
  EXPECT_NE(report.find("  EDID1.3.........: Byte[1] = 0x00 does not match EDID header pattern (0x00 0xFF 0xFF "
                        "0xFF 0xFF 0xFF 0xFF 0x00)\r\n  EDID1.4.........: Byte[1] = 0x00 does not match"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("  DisplayID1.1....: Byte[0] = 0x00 defines invalid version. Should be 0x11\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("VERDICT: 1 ERRORS FOUND"), std::string::npos);
}

}  // namespace
}  // namespace velmar
