#include "dialogs/view/ModeListDlg.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "gui/QtTestSupport.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

// Answers kind 5 with its modes, in order, and remembers what it was asked.
class ModesContext : public CallbackContext {
 public:
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override {
    kinds.push_back(kind);
    if (kind != kContentModes) return;
    for (const ModeEntry& mode : modes) target->AddMode(mode);
  }
  void DescribeByte(unsigned, std::string&, std::string&, std::string&) override {}
  void RelayoutBlocks() override {}
  void SetModified() override {}

  std::vector<ModeEntry> modes;
  std::vector<unsigned> kinds;
};

ModeEntry Mode(uint32_t h, uint32_t v, uint32_t hz, bool fractional = false,
               ModeSource source = ModeSource::Detailed) {
  ModeEntry mode;
  mode.hActive = h;
  mode.vActive = v;
  mode.refreshHz = hz;
  mode.fractional = fractional ? 1 : 0;
  mode.source = source;
  mode.blockKind = ModeBlockKind::EdidBase;
  mode.present = kPresentHActive | kPresentVActive | kPresentRefresh | kPresentSource | kPresentBlockKind;
  return mode;
}

class ModeListDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApp(); }

  // The texts of one column from top to bottom.
  static std::vector<std::string> Column(const ModeListDlg& dlg, int column) {
    std::vector<std::string> texts;
    const QAbstractItemModel* model = dlg.Table()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      texts.push_back(model->data(model->index(row, column)).toString().toStdString());
    }
    return texts;
  }
  static void ClickHeading(ModeListDlg& dlg, int column) {
    QHeaderView* header = dlg.Table()->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
  }

  ModesContext owner;
};

TEST_F(ModeListDlgTest, ColumnsAndWindow) {
  ModeListDlg dlg(nullptr, &owner);
  EXPECT_EQ(dlg.windowTitle(), "View Modes & Timings Reported by EDID");
  EXPECT_TRUE(dlg.isSizeGripEnabled());
  const QTableView* table = dlg.Table();
  const QAbstractItemModel* model = table->model();
  ASSERT_EQ(model->columnCount(), 21);
  const std::vector<std::pair<const char*, int>> expected{
      {"Resolution", 80}, {"Refresh Rate", 90}, {"Source", 90},     {"Block", 110},       {"3D Format", 105},
      {"PixelClock", 80}, {"Repetition", 73},   {"HTotal", 55},     {"VTotal", 55},       {"Native", 55},
      {"ReducedBlank", 90}, {"HPolarity", 70},  {"VPolarity", 70},  {"3D Polarity", 80},  {"3D Exclusive", 80},
      {"HBorder", 65},    {"VBorder", 65},      {"HPorch", 60},     {"VPorch", 60},       {"HSync", 50},
      {"VSync", 50}};
  for (int column = 0; column < 21; ++column) {
    EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString().toStdString(), expected[column].first);
    // The template's width, or more where the font needs it.
    EXPECT_GE(table->columnWidth(column), expected[column].second) << column;
  }
  EXPECT_TRUE(table->showGrid());
  EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(owner.kinds, std::vector<unsigned>{kContentModes});

  dlg.resize(700, 400);
  dlg.show();
  EXPECT_EQ(table->geometry(), QRect(5, 5, 690, 390));
}

TEST_F(ModeListDlgTest, OpensSortedByResolutionAndEachClickReverses) {
  owner.modes = {Mode(1920, 1080, 60), Mode(1280, 1024, 75), Mode(640, 480, 60), Mode(1280, 720, 60, true),
                 Mode(800, 600, 56)};
  ModeListDlg dlg(nullptr, &owner);
  QAbstractItemModelTester tester(dlg.ListModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  dlg.show();
  using Texts = std::vector<std::string>;
  EXPECT_EQ(Column(dlg, 0), (Texts{"640x480", "800x600", "1280x720", "1280x1024", "1920x1080"}));
  EXPECT_EQ(Column(dlg, 1), (Texts{"60Hz", "56Hz", "59.94Hz", "75Hz", "60Hz"}));
  ClickHeading(dlg, 0);
  EXPECT_EQ(Column(dlg, 0), (Texts{"1920x1080", "1280x1024", "1280x720", "800x600", "640x480"}));
  ClickHeading(dlg, 0);
  EXPECT_EQ(Column(dlg, 0), (Texts{"640x480", "800x600", "1280x720", "1280x1024", "1920x1080"}));
  // Another heading goes on from the current direction: descending first.
  ClickHeading(dlg, 2);
  EXPECT_EQ(dlg.ListModel()->Table().SortAscending(), false);
  // A right click sorts nothing.
  QHeaderView* header = dlg.Table()->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::RightButton, Qt::NoModifier,
                    QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
  EXPECT_EQ(dlg.ListModel()->Table().SortAscending(), false);
}

TEST_F(ModeListDlgTest, EqualRatesKeepTheirOrder) {
  // 59.94Hz counts as 59, like 59Hz; the order of equal cells is kept through
  // every sort.
  owner.modes = {Mode(1280, 720, 60, true), Mode(1024, 768, 59), Mode(640, 480, 75), Mode(800, 600, 60, true)};
  ModeListDlg dlg(nullptr, &owner);
  using Texts = std::vector<std::string>;
  // By resolution: 640x480 75Hz, 800x600 59.94Hz, 1024x768 59Hz, 1280x720 59.94Hz.
  ClickHeading(dlg, 1);  // descending
  EXPECT_EQ(Column(dlg, 1), (Texts{"75Hz", "59.94Hz", "59Hz", "59.94Hz"}));
  EXPECT_EQ(Column(dlg, 0), (Texts{"640x480", "800x600", "1024x768", "1280x720"}));
  ClickHeading(dlg, 1);  // ascending
  EXPECT_EQ(Column(dlg, 1), (Texts{"59.94Hz", "59Hz", "59.94Hz", "75Hz"}));
  EXPECT_EQ(Column(dlg, 0), (Texts{"800x600", "1024x768", "1280x720", "640x480"}));
}

TEST_F(ModeListDlgTest, WithoutOwnerTheTableIsEmpty) {
  ModeListDlg dlg(nullptr, nullptr);
  EXPECT_EQ(dlg.Table()->model()->rowCount(), 0);
  ClickHeading(dlg, 3);  // nothing to sort, nothing breaks
  EXPECT_EQ(dlg.Table()->model()->rowCount(), 0);
}

TEST_F(ModeListDlgTest, RealImagesListEveryAnnouncedModeSorted) {
  testing::ScriptedUserInterface ui;
  for (const std::string& path : testing::CorpusFiles()) {
    EdidImage image(ui);
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), kMaxEdidSize)),
              image.rawData.begin());
    image.Rebuild();
    ContentCollector collected;
    image.FillContent(&collected, kContentModes);
    ModeListDlg dlg(nullptr, &image);
    const QAbstractItemModel* model = dlg.Table()->model();
    ASSERT_EQ(static_cast<size_t>(model->rowCount()), collected.modes.size()) << path;
    for (int row = 1; row < model->rowCount(); ++row) {
      const std::string a = model->data(model->index(row - 1, 0)).toString().toStdString();
      const std::string b = model->data(model->index(row, 0)).toString().toStdString();
      EXPECT_LE(ModeTable::CompareCells(ModeSortType::Pair, a, b), 0) << path << " row " << row;
    }
  }
}

TEST(ModeListWindowTest, ShowModesListsTheLoadedImage) {
  testing::EnsureQtApp();
  VelmarEDIDUtilityDlg window;
  window.show();
  window.OpenCommandLineFile(std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin");
  ContentCollector collected;
  window.Core().FillContent(&collected, kContentModes);
  ASSERT_FALSE(collected.modes.empty());
  int rows = -1;
  testing::ModalScript script{[&rows](QWidget* modal) {
    auto* dlg = qobject_cast<ModeListDlg*>(modal);
    ASSERT_NE(dlg, nullptr) << modal->metaObject()->className();
    rows = dlg->Table()->model()->rowCount();
    testing::PressKey(dlg->Table(), Qt::Key_Escape);
  }};
  window.Button(VelmarEDIDUtilityDlg::kShowModesId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(rows, static_cast<int>(collected.modes.size()));
}

}  // namespace
}  // namespace velmar
