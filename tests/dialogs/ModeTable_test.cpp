#include "dialogs/ModeTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/EdidImage.h"
#include "blocks/DiExtBlock.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

// An owner that answers the modes request with a fixed list of entries.
class ModesOwner : public CallbackContext {
 public:
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override {
    kinds.push_back(kind);
    if (kind != kContentModes) return;
    target->SetTitle("ignored");
    target->Append("ignored");
    for (const ModeEntry& entry : entries) target->AddMode(entry);
  }
  void DescribeByte(unsigned, std::string&, std::string&, std::string&) override {}
  void RelayoutBlocks() override {}
  void SetModified() override {}

  std::vector<ModeEntry> entries;
  std::vector<unsigned> kinds;
};

ModeEntry Resolution(uint32_t width, uint32_t height) {
  ModeEntry entry;
  entry.hActive = width;
  entry.vActive = height;
  entry.present = kPresentHActive | kPresentVActive;
  return entry;
}

ModeEntry Refresh(uint32_t hz, bool fractional, bool interlaced = false) {
  ModeEntry entry;
  entry.refreshHz = hz;
  entry.fractional = fractional ? 1 : 0;
  entry.interlaced = interlaced ? 1 : 0;
  entry.present = kPresentRefresh;
  return entry;
}

ModeEntry Source(ModeSource source, uint32_t vic = 0, bool vicPresent = false) {
  ModeEntry entry;
  entry.source = source;
  entry.vic = vic;
  entry.present = kPresentSource | (vicPresent ? kPresentVic : 0u);
  return entry;
}

std::vector<std::string> Column(const ModeTable& table, unsigned column) {
  std::vector<std::string> cells;
  for (const ModeTable::Row& row : table.Rows()) cells.push_back(row[column]);
  return cells;
}

using Cells = std::vector<std::string>;

TEST(ModeTableColumns, HeadingsWidthsAndSortTypes) {
  const auto& columns = ModeTable::Columns();
  std::string headings;
  int widths = 0;
  for (const ModeColumn& column : columns) {
    headings += column.heading;
    headings += '|';
    widths += column.width;
  }
  EXPECT_EQ(headings,
            "Resolution|Refresh Rate|Source|Block|3D Format|PixelClock|Repetition|HTotal|VTotal|Native|"
            "ReducedBlank|HPolarity|VPolarity|3D Polarity|3D Exclusive|HBorder|VBorder|HPorch|VPorch|HSync|VSync|");
  EXPECT_EQ(widths, 80 + 90 + 90 + 110 + 105 + 80 + 73 + 55 + 55 + 55 + 90 + 70 + 70 + 80 + 80 + 65 + 65 + 60 +
                        60 + 50 + 50);
  std::string types;
  for (const ModeColumn& column : columns) {
    types += column.sortType == ModeSortType::Text ? 'T' : column.sortType == ModeSortType::Number ? 'N' : 'P';
  }
  // Repetition sorts as text although it holds a number.
  EXPECT_EQ(types, "PNTTTNTNNTTTTTTPPNNNN");
}

TEST(ModeTableCells, EveryCellOfAFullyPresentEntry) {
  ModeEntry e;
  e.hActive = 1920;
  e.vActive = 1080;
  e.hTotal = 2200;
  e.hBorderLeft = 1;
  e.hBorderRight = 2;
  e.hFrontPorch = 88;
  e.hSync = 44;
  e.vTotal = 1125;
  e.vBorderTop = 3;
  e.vBorderBottom = 4;
  e.vFrontPorch = 4;
  e.vSync = 5;
  e.pixelClockKHz = 148500;
  e.repetition = 2;
  e.refreshHz = 60;
  e.interlaced = 1;
  e.fractional = 1;
  e.source = ModeSource::CeaShortVideo;
  e.blockKind = ModeBlockKind::EdidDescriptor3;
  e.vic = 16;
  e.format3D = Stereo3DFormat::SideBySide;
  e.flags = kModeFlagNative | kModeFlagReducedBlanking | kModeFlagHSyncPositive | kModeFlag3DOnly |
            kModeFlag3DRightEyeFirst;
  e.present = (1u << 25) - 1;
  const ModeTable::Row row = ModeTable::CellTexts(e);
  const Cells expected = {"1920x1080", "59.94Hz(i)", "CEA-SVD VIC[16]", "EDID(B) Desc3", "SideBySide",
                          "148500KHz", "2",          "2200",            "1125",          "yes",
                          "yes",       "positive",   "negative",        "right eye",     "yes",
                          "1x2",       "3x4",        "88",              "4",             "44",
                          "5"};
  EXPECT_EQ(Cells(row.begin(), row.end()), expected);

  // The same fields with no presence bit show nothing at all.
  e.present = 0;
  e.hBorderRight = 0;
  e.vBorderBottom = 0;
  const ModeTable::Row blank = ModeTable::CellTexts(e);
  EXPECT_TRUE(std::all_of(blank.begin(), blank.end(), [](const std::string& cell) { return cell.empty(); }));
}

TEST(ModeTableCells, FlagsShownAsTheirClearForm) {
  ModeEntry e;
  e.present = kPresentNative | kPresentReducedBlanking | kPresentHPolarity | kPresentVPolarity | kPresent3DOnly |
              kPresent3DPolarity | kPresentFormat3D | kPresentBlockKind;
  const ModeTable::Row row = ModeTable::CellTexts(e);
  EXPECT_EQ(row[kColumnNative], "");
  EXPECT_EQ(row[kColumnReducedBlank], "");
  EXPECT_EQ(row[kColumnHPolarity], "negative");
  EXPECT_EQ(row[kColumnVPolarity], "negative");
  EXPECT_EQ(row[kColumn3DPolarity], "left eye");
  EXPECT_EQ(row[kColumn3DExclusive], "");
  EXPECT_EQ(row[kColumn3DFormat], "2D");
  EXPECT_EQ(row[kColumnBlock], "Undef");
}

TEST(ModeTableCells, EnumerationTexts) {
  const Cells sources = {"Undef", "Detailed", "Established", "Standard", "CEA-SVD", "CEA-VSDB", "CVT-3Byte", ""};
  for (uint32_t value = 0; value < sources.size(); ++value) {
    EXPECT_EQ(ModeTable::CellTexts(Source(static_cast<ModeSource>(value)))[kColumnSource], sources[value]) << value;
  }
  // The VIC suffix follows its own presence bit, not the value.
  EXPECT_EQ(ModeTable::CellTexts(Source(ModeSource::CeaHdmiVic, 3, true))[kColumnSource], "CEA-VSDB VIC[3]");
  EXPECT_EQ(ModeTable::CellTexts(Source(ModeSource::Detailed, 0, true))[kColumnSource], "Detailed VIC[0]");
  EXPECT_EQ(ModeTable::CellTexts(Source(static_cast<ModeSource>(7), 5, true))[kColumnSource], "");

  const Cells blocks = {"Undef",         "EDID Base", "EDID(B) Desc0", "EDID(B) Desc1", "EDID(B) Desc2",
                        "EDID(B) Desc3", "DID Base",  "CEA(E)",        "DI(E)",         "DID(E)",
                        ""};
  const Cells formats = {"2D", "FrameAlternate", "Interleaved", "FramePacking", "SideBySide", "TopBottom", ""};
  for (uint32_t value = 0; value < blocks.size(); ++value) {
    ModeEntry e;
    e.blockKind = static_cast<ModeBlockKind>(value);
    e.format3D = static_cast<Stereo3DFormat>(value);
    e.present = kPresentBlockKind | kPresentFormat3D;
    const ModeTable::Row row = ModeTable::CellTexts(e);
    EXPECT_EQ(row[kColumnBlock], blocks[value]) << value;
    EXPECT_EQ(row[kColumn3DFormat], value < formats.size() ? formats[value] : "") << value;
  }
}

TEST(ModeTableCells, RefreshRateTexts) {
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(60, true, true)), "59.94Hz(i)");
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(60, false)), "60Hz");
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(30, false, true)), "30Hz(i)");
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(24, true)), "23.98Hz");
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(120, true)), "119.88Hz");
  EXPECT_EQ(ModeTable::RefreshRateText(Refresh(0, true)), "0.00Hz");
}

TEST(ModeTableCells, ResolutionAndBordersFollowTheirOwnRules) {
  ModeEntry widthOnly;
  widthOnly.hActive = 640;
  widthOnly.vActive = 480;
  widthOnly.present = kPresentHActive;
  EXPECT_EQ(ModeTable::CellTexts(widthOnly)[kColumnResolution], "640x480");

  ModeEntry right;
  right.hBorderRight = 8;
  right.vBorderBottom = 2;
  const ModeTable::Row row = ModeTable::CellTexts(right);
  EXPECT_EQ(row[kColumnHBorder], "0x8");
  EXPECT_EQ(row[kColumnVBorder], "0x2");

  // Presence of the far side alone with a zero value shows nothing.
  ModeEntry farBitOnly;
  farBitOnly.present = kPresentHBorderRight | kPresentVBorderBottom;
  EXPECT_EQ(ModeTable::CellTexts(farBitOnly)[kColumnHBorder], "");
  EXPECT_EQ(ModeTable::CellTexts(farBitOnly)[kColumnVBorder], "");

  ModeEntry nearBit;
  nearBit.present = kPresentHBorderLeft | kPresentVBorderTop;
  EXPECT_EQ(ModeTable::CellTexts(nearBit)[kColumnHBorder], "0x0");
  EXPECT_EQ(ModeTable::CellTexts(nearBit)[kColumnVBorder], "0x0");
}

TEST(ModeTableCompare, NumbersAreSignedAndStopAtTheFirstOtherCharacter) {
  EXPECT_EQ(ModeTable::LeadingNumber("59.94Hz"), 59);
  EXPECT_EQ(ModeTable::LeadingNumber("148500KHz"), 148500);
  EXPECT_EQ(ModeTable::LeadingNumber("  -12abc"), -12);
  EXPECT_EQ(ModeTable::LeadingNumber("+7"), 7);
  EXPECT_EQ(ModeTable::LeadingNumber(""), 0);
  EXPECT_EQ(ModeTable::LeadingNumber("Hz"), 0);
  EXPECT_EQ(ModeTable::LeadingNumber("- 5"), 0);

  // Large "%u" values keep their order: the difference is never taken unsigned
  // or in 32 bits.
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Number, "0KHz", "4294967295KHz"), 0);
  EXPECT_GT(ModeTable::CompareCells(ModeSortType::Number, "4294967295", "1"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Number, "-2147483648", "2147483647"), 0);
  // Absurdly long digit runs saturate instead of overflowing.
  const std::string huge(40, '9');
  EXPECT_GT(ModeTable::CompareCells(ModeSortType::Number, huge, "0"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Number, "-" + huge, huge), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Number, "59.94Hz", "59Hz"), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Number, "", "Hz"), 0);
}

TEST(ModeTableCompare, PairsReadTheSecondNumberOnlyAfterTheX) {
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Pair, "640x480", "1920x1080"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Pair, "1280x720", "1280x1024"), 0);
  EXPECT_GT(ModeTable::CompareCells(ModeSortType::Pair, "1280x1024", "1280x720"), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, "0x8", "0x8"), 0);
  // No separator: the second number is 0, whatever follows.
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Pair, "1280", "1280x1"), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, "1280-5", "1280"), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, "1280y5", "1280x0"), 0);
  // Empty cells, a lone "x" and a trailing "x" never read past the text.
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, "", ""), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, "12x", "12"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Pair, "", "0x1"), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Pair, std::string_view("5x9", 2), "5"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Pair, "0x0", "0x4294967295"), 0);
}

TEST(ModeTableCompare, TextIsOrdinalAndCaseSensitive) {
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Text, "CEA-SVD VIC[16]", "Detailed"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Text, "Detailed", "Established"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Text, "Z", "a"), 0);
  EXPECT_LT(ModeTable::CompareCells(ModeSortType::Text, "Detail", "Detailed"), 0);
  EXPECT_GT(ModeTable::CompareCells(ModeSortType::Text, "yes", ""), 0);
  EXPECT_EQ(ModeTable::CompareCells(ModeSortType::Text, "left eye", "left eye"), 0);
  // Repetition sorts as text: "10" before "2".
  EXPECT_LT(ModeTable::CompareCells(ModeTable::Columns()[kColumnRepetition].sortType, "10", "2"), 0);
}

class ModeTableSort : public ::testing::Test {
 protected:
  void Open() { table.Open(&owner); }

  ModesOwner owner;
  ModeTable table;
};

TEST_F(ModeTableSort, OpensSortedByResolutionSmallestFirst) {
  for (auto [w, h] : std::vector<std::pair<uint32_t, uint32_t>>{
           {1920, 1080}, {1280, 1024}, {640, 480}, {1280, 720}, {800, 600}, {1920, 1080}}) {
    owner.entries.push_back(Resolution(w, h));
  }
  owner.entries[0].refreshHz = 60;  // tells the two 1920x1080 rows apart
  owner.entries[0].present |= kPresentRefresh;
  Open();
  EXPECT_EQ(owner.kinds, std::vector<unsigned>{kContentModes});
  EXPECT_TRUE(table.SortAscending());
  EXPECT_EQ(Column(table, kColumnResolution),
            (Cells{"640x480", "800x600", "1280x720", "1280x1024", "1920x1080", "1920x1080"}));
  EXPECT_EQ(Column(table, kColumnRefreshRate), (Cells{"", "", "", "", "60Hz", ""}));

  // Opening again starts from scratch.
  Open();
  EXPECT_EQ(table.RowCount(), 6u);
}

TEST_F(ModeTableSort, HeaderClicksToggleTheDirection) {
  for (uint32_t w : {800u, 640u, 1024u}) owner.entries.push_back(Resolution(w, 600));
  Open();
  table.ClickHeading(kColumnResolution);
  EXPECT_FALSE(table.SortAscending());
  EXPECT_EQ(Column(table, kColumnResolution), (Cells{"1024x600", "800x600", "640x600"}));
  table.ClickHeading(kColumnResolution);
  EXPECT_TRUE(table.SortAscending());
  EXPECT_EQ(Column(table, kColumnResolution), (Cells{"640x600", "800x600", "1024x600"}));
  // A click outside the table's columns changes nothing.
  table.ClickHeading(kModeColumnCount);
  EXPECT_TRUE(table.SortAscending());
  EXPECT_EQ(Column(table, kColumnResolution), (Cells{"640x600", "800x600", "1024x600"}));
}

TEST_F(ModeTableSort, EqualNumbersKeepTheirOrderInBothDirections) {
  const std::vector<std::pair<uint32_t, bool>> rates = {{60, true}, {59, false}, {75, false}, {60, false}};
  for (size_t i = 0; i < rates.size(); ++i) {
    ModeEntry entry = Refresh(rates[i].first, rates[i].second);
    entry.hActive = static_cast<uint32_t>(i);  // remembers the order of insertion
    entry.present |= kPresentHActive;
    owner.entries.push_back(entry);
  }
  Open();  // all resolutions differ: 0x0, 1x0, 2x0, 3x0 stay as inserted
  table.SortRows(kColumnRefreshRate, true);
  EXPECT_EQ(Column(table, kColumnRefreshRate), (Cells{"59.94Hz", "59Hz", "60Hz", "75Hz"}));
  table.SortRows(kColumnRefreshRate, false);
  EXPECT_EQ(Column(table, kColumnRefreshRate), (Cells{"75Hz", "60Hz", "59.94Hz", "59Hz"}));

  // 59Hz before 59.94Hz now: ascending again keeps that order.
  table.SortRows(kColumnResolution, false);
  EXPECT_EQ(Column(table, kColumnRefreshRate), (Cells{"60Hz", "75Hz", "59Hz", "59.94Hz"}));
  table.SortRows(kColumnRefreshRate, true);
  EXPECT_EQ(Column(table, kColumnRefreshRate), (Cells{"59Hz", "59.94Hz", "60Hz", "75Hz"}));
}

TEST_F(ModeTableSort, SourceSortsByCodeUnits) {
  owner.entries = {Source(ModeSource::Established), Source(ModeSource::Detailed),
                   Source(ModeSource::CeaShortVideo, 16, true), Source(ModeSource::Cvt3Byte), ModeEntry{}};
  Open();
  table.SortRows(kColumnSource, true);
  EXPECT_EQ(Column(table, kColumnSource), (Cells{"", "CEA-SVD VIC[16]", "CVT-3Byte", "Detailed", "Established"}));
}

TEST_F(ModeTableSort, SwapsMoveWholeRows) {
  ModeEntry a = Resolution(1920, 1080);
  a.pixelClockKHz = 148500;
  a.hSync = 44;
  a.present |= kPresentPixelClock | kPresentHSync;
  ModeEntry b = Resolution(640, 480);
  b.pixelClockKHz = 25175;
  b.vSync = 2;
  b.present |= kPresentPixelClock | kPresentVSync;
  owner.entries = {a, b};
  Open();
  ASSERT_EQ(table.RowCount(), 2u);
  EXPECT_EQ(table.Rows()[0], ModeTable::CellTexts(b));
  EXPECT_EQ(table.Rows()[1], ModeTable::CellTexts(a));
  table.SortRows(kColumnPixelClock, false);
  EXPECT_EQ(table.Rows()[0], ModeTable::CellTexts(a));
  EXPECT_EQ(table.Cell(0, kColumnHSync), "44");
  EXPECT_EQ(table.Cell(1, kColumnVSync), "2");
  EXPECT_EQ(table.Cell(2, kColumnHSync), "");
  EXPECT_EQ(table.Cell(0, kModeColumnCount), "");
}

TEST_F(ModeTableSort, EmptyAndSingleRowTables) {
  table.Open(nullptr);
  EXPECT_EQ(table.RowCount(), 0u);
  table.SortRows(kColumnResolution, false);
  owner.entries = {Resolution(1, 1)};
  Open();
  table.ClickHeading(kColumnVSync);
  EXPECT_EQ(table.RowCount(), 1u);
}

// The rows of the modes an image announces, in the order the blocks give them.
class RowCollector : public CallbackFillContentTgt {
 public:
  void SetTitle(const std::string&) override {}
  void Append(const std::string&) override {}
  void AddMode(const ModeEntry& entry) override { rows.push_back(ModeTable::CellTexts(entry)); }
  std::vector<ModeTable::Row> rows;
};

// A bubble sort that swaps neighbours only when they are out of order, so
// that equal rows keep theirs.
void BubbleSort(std::vector<ModeTable::Row>& rows, unsigned column, bool ascending) {
  const ModeSortType type = ModeTable::Columns()[column].sortType;
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (size_t i = 1; i < rows.size(); ++i) {
      const int64_t d = ModeTable::CompareCells(type, rows[i - 1][column], rows[i][column]);
      if (ascending ? d > 0 : d < 0) {
        std::swap(rows[i - 1], rows[i]);
        swapped = true;
      }
    }
  }
}

// Over the modes of every corpus EDID, opening and then sorting every column
// in both directions gives the order the list has always had: that of the
// bubble sort, from the order the blocks announce the modes in.
TEST(ModeTableImage, CorpusOrdersMatchABubbleSortInEveryColumn) {
  for (const std::string& path : testing::CorpusFiles()) {
    testing::ScriptedUserInterface ui;
    EdidImage image(ui);
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kMaxEdidSize), image.rawData.begin());
    image.Rebuild();
    ModeTable table;
    table.Open(&image);
    RowCollector announced;
    image.FillContent(&announced, kContentModes);
    BubbleSort(announced.rows, kColumnResolution, true);
    ASSERT_EQ(table.Rows(), announced.rows) << path << " as opened";
    for (unsigned column = 0; column < kModeColumnCount; ++column) {
      for (const bool ascending : {true, false}) {
        std::vector<ModeTable::Row> expected = table.Rows();
        BubbleSort(expected, column, ascending);
        table.SortRows(column, ascending);
        ASSERT_EQ(table.Rows(), expected) << path << " column " << column << (ascending ? " up" : " down");
      }
    }
  }
}

TEST(ModeTableImage, AnImageWithOnlyADiExtBlockListsNothing) {
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  ASSERT_TRUE(DiExtBlock::InitDefaultBytes(image.rawData.data(), kBlockSize));
  image.Rebuild();
  ASSERT_EQ(image.BlockCount(), 1u);
  ModeTable table;
  table.AddMode(Resolution(1, 1));
  table.Open(&image);
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace velmar
