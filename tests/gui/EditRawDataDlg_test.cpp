#include "app/view/EditRawDataDlg.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/MainWindowCore.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "dialogs/view/EditListCtrl.h"
#include "gui/QtTestSupport.h"
#include "pages/BlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::PressKey;

// Names byte 8 fully and byte 20 by group and block only; remembers every
// index it was asked about.
class NamingContext : public CallbackContext {
 public:
  void FillContent(CallbackFillContentTgt*, unsigned) override {}
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override {
    asked.push_back(index);
    if (index == 8) {
      name = "ID Manufacturer Name";
      group = "(Vendor/Product Identification)";
      blockLabel = "EDID-v1.3";
    } else if (index == 20) {
      group = "(Basic Display Parameters)";
      blockLabel = "EDID-v1.3";
    }
  }
  void RelayoutBlocks() override {}
  void SetModified() override {}
  std::vector<unsigned> asked;
};

std::vector<std::string> Labels(const EditRawDataDlg& dlg) {
  return {dlg.ByteLabel()->text().toStdString(), dlg.InfoLabel()->text().toStdString(),
          dlg.CaptionLabel()->text().toStdString(), dlg.ExtraLabel()->text().toStdString()};
}

// Opens the editor on a cell and types over its text.
void TypeInto(EditRawDataDlg& dlg, int row, int column, const char* text) {
  ASSERT_TRUE(dlg.Grid()->SelectCell(row, column));
  ASSERT_TRUE(dlg.Grid()->BeginEdit());
  dlg.Grid()->EditBox()->clear();
  QTest::keyClicks(dlg.Grid()->EditBox(), text);
}

class EditRawDataDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApp();
    for (unsigned i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 0xA0);
    original = bytes;
  }
  std::unique_ptr<EditRawDataDlg> Open(unsigned length = 512) {
    auto dlg = std::make_unique<EditRawDataDlg>(nullptr, &ui, &context, bytes.data(), length);
    tester = std::make_unique<QAbstractItemModelTester>(dlg->Grid()->TextModel(),
                                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
    dlg->show();
    return dlg;
  }

  testing::ScriptedUserInterface ui;
  NamingContext context;
  std::array<uint8_t, 512> bytes{};
  std::array<uint8_t, 512> original{};
  std::unique_ptr<QAbstractItemModelTester> tester;
};

using Texts = std::vector<std::string>;

TEST_F(EditRawDataDlgTest, GridShowsEveryByteInLowerCaseHex) {
  auto dlg = Open();
  EXPECT_EQ(dlg->windowTitle(), "View and Edit Raw Data");
  EditListCtrl* grid = dlg->Grid();
  ASSERT_EQ(grid->GetColumnCount(), 17);
  ASSERT_EQ(grid->GetRowCount(), 32);
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "");
  EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "00");
  EXPECT_EQ(grid->model()->headerData(16, Qt::Horizontal).toString(), "0F");
  // The template's widths, or more where the font needs it.
  EXPECT_GE(grid->columnWidth(0), 31);
  EXPECT_GE(grid->columnWidth(16), 30);
  EXPECT_EQ(grid->GetItemText(0, 0), " 00");
  EXPECT_EQ(grid->GetItemText(10, 0), " A0");
  EXPECT_EQ(grid->GetItemText(31, 0), "1F0");
  EXPECT_EQ(grid->GetItemText(0, 1), "a0");  // byte 0
  EXPECT_EQ(grid->GetItemText(1, 3), "1e");    // byte 18 = 18 * 7 + 0xA0 mod 256
  EXPECT_EQ(grid->GetItemText(31, 16), "99");  // byte 511
  for (int row = 0; row < 32; ++row) {
    EXPECT_FALSE(grid->IsCellSelectable(row, 0));
    EXPECT_TRUE(grid->IsCellEditable(row, 1));
    EXPECT_TRUE(grid->IsCellEditable(row, 16));
  }
  // The first byte is current and described when the dialog opens.
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_EQ(Labels(*dlg), (Texts{"Byte[000]:", "No Data Mapped", "", ""}));
  EXPECT_EQ(context.asked, std::vector<unsigned>{0});
}

TEST_F(EditRawDataDlgTest, ShortDataShowsZerosPastItsEnd) {
  auto dlg = Open(20);
  ASSERT_EQ(dlg->Grid()->GetRowCount(), 2);
  EXPECT_EQ(dlg->Grid()->GetItemText(1, 4), "25");  // byte 19
  EXPECT_EQ(dlg->Grid()->GetItemText(1, 5), "00");  // past the data
  dlg->OnCellSelected(1, 5);
  EXPECT_EQ(Labels(*dlg), (Texts{"Byte[XX]:", "No Data Mapped", "", ""}));
  // Cells past the data are neither checked nor written.
  TypeInto(*dlg, 1, 9, "zz");
  dlg->OnOkButton();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(bytes, original);
}

TEST_F(EditRawDataDlgTest, LabelsNameTheCurrentByteThroughTheOwner) {
  auto dlg = Open();
  context.asked.clear();
  dlg->Grid()->SelectCell(0, 9);
  EXPECT_EQ(Labels(*dlg),
            (Texts{"Byte[008]:", "ID Manufacturer Name", "EDID-v1.3", "(Vendor/Product Identification)"}));
  dlg->Grid()->SelectCell(1, 5);
  EXPECT_EQ(Labels(*dlg), (Texts{"Byte[020]:", "No Data Mapped", "EDID-v1.3", "(Basic Display Parameters)"}));
  dlg->Grid()->SelectCell(18, 13);  // a byte no block covers
  EXPECT_EQ(Labels(*dlg), (Texts{"Byte[300]:", "No Data Mapped", "", ""}));
  EXPECT_EQ(context.asked, (std::vector<unsigned>{8, 20, 300}));

  // The label column and anything outside the grid never reach the owner.
  for (const auto& [row, column] : std::vector<std::pair<int, int>>{{3, 0}, {-1, 4}, {32, 1}, {0, 17}, {2, -5}}) {
    dlg->OnCellSelected(row, column);
    EXPECT_EQ(Labels(*dlg), (Texts{"Byte[XX]:", "No Data Mapped", "", ""})) << row << "," << column;
  }
  EXPECT_EQ(context.asked.size(), 3u);
}

TEST_F(EditRawDataDlgTest, TabWrapsRightStaysEscapeRestores) {
  auto dlg = Open();
  EditListCtrl* grid = dlg->Grid();
  grid->SelectCell(31, 15);
  PressKey(grid, Qt::Key_Right);
  EXPECT_EQ(grid->CurrentColumn(), 16);
  PressKey(grid, Qt::Key_Right);  // the last column: stays
  EXPECT_EQ(grid->CurrentRow(), 31);
  EXPECT_EQ(grid->CurrentColumn(), 16);
  EXPECT_EQ(Labels(*dlg)[0], "Byte[511]:");

  PressKey(grid, Qt::Key_Return);
  ASSERT_TRUE(grid->IsEditing());
  QTest::keyClicks(grid->EditBox(), "5");
  PressKey(grid->EditBox(), Qt::Key_Tab);
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->EditBox()->text(), "a0");
  EXPECT_EQ(grid->GetItemText(31, 16), "5");
  EXPECT_EQ(Labels(*dlg)[0], "Byte[000]:");

  QTest::keyClicks(grid->EditBox(), "77");
  PressKey(grid->EditBox(), Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetItemText(0, 1), "a0");
  EXPECT_TRUE(dlg->isVisible());  // Escape closed the edit, not the dialog
  PressKey(grid, Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(bytes, original);
}

TEST_F(EditRawDataDlgTest, AnInvalidCellIsNamedAndNothingIsWritten) {
  struct Case {
    int row;
    int column;
    const char* text;
    const char* message;
  };
  const std::vector<Case> cases{
      {3, 6, "1G", "Byte[30,05]=\"1G\" is invalid. Data will no be updated!"},
      {0, 1, "", "Byte[00,00]=\"\" is invalid. Data will no be updated!"},
      {31, 16, "100", "Byte[1F0,0F]=\"100\" is invalid. Data will no be updated!"},
      {10, 11, " 1", "Byte[A0,0A]=\" 1\" is invalid. Data will no be updated!"},
      {2, 2, "0x1", "Byte[20,01]=\"0x1\" is invalid. Data will no be updated!"},
      {2, 2, "-1", "Byte[20,01]=\"-1\" is invalid. Data will no be updated!"},
  };
  for (const Case& test : cases) {
    ui.Clear();
    auto dlg = Open();
    TypeInto(*dlg, 0, 2, "ab");  // a valid change elsewhere is not written either
    TypeInto(*dlg, test.row, test.column, test.text);
    dlg->GetOkButton()->click();
    EXPECT_EQ(ui.messages, Texts{test.message});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(bytes, original);
    EXPECT_EQ(dlg->Grid()->GetItemText(test.row, test.column).toStdString(), test.text);
  }
}

TEST_F(EditRawDataDlgTest, AfterTheMessageTheBadCellIsCurrentAndInView) {
  auto dlg = Open();
  TypeInto(*dlg, 30, 14, "zz");
  PressKey(dlg->Grid()->EditBox(), Qt::Key_Return);
  dlg->Grid()->SelectCell(0, 1);
  dlg->Grid()->scrollToTop();
  ASSERT_FALSE(dlg->Grid()->viewport()->rect().contains(dlg->Grid()->CellRect(30, 14)));
  dlg->GetOkButton()->click();
  EXPECT_EQ(ui.messages, Texts{"Byte[1E0,0D]=\"zz\" is invalid. Data will no be updated!"});
  EXPECT_EQ(dlg->Grid()->CurrentRow(), 30);
  EXPECT_EQ(dlg->Grid()->CurrentColumn(), 14);
  EXPECT_TRUE(dlg->Grid()->viewport()->rect().contains(dlg->Grid()->CellRect(30, 14)));
  EXPECT_EQ(Labels(*dlg)[0], "Byte[493]:");
}

TEST_F(EditRawDataDlgTest, TypingOnACellStartsEditingItWithWhatWasTyped) {
  auto dlg = Open();
  EditListCtrl* grid = dlg->Grid();
  ASSERT_TRUE(grid->SelectCell(2, 3));
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_C);
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->EditBox()->text(), "c");
  QTest::keyClick(grid->EditBox(), Qt::Key_4);
  PressKey(grid->EditBox(), Qt::Key_Return);
  EXPECT_EQ(grid->GetItemText(2, 3), "c4");
  // Keys with Ctrl, and blanks, start nothing.
  QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_FALSE(grid->IsEditing());
  dlg->GetOkButton()->click();
  EXPECT_EQ(bytes[2 * 16 + 2], 0xC4);
}

TEST_F(EditRawDataDlgTest, OkWritesTheChangedBytesOnly) {
  auto dlg = Open();
  TypeInto(*dlg, 1, 1, "AB");
  TypeInto(*dlg, 4, 16, "0f");  // with its leading zero ...
  TypeInto(*dlg, 5, 1, "00C");  // ... or more of them
  TypeInto(*dlg, 6, 1, "f");  // still in the edit box: OK finishes it
  ASSERT_TRUE(dlg->Grid()->IsEditing());
  dlg->OnOkButton();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  std::array<uint8_t, 512> expected = original;
  expected[16] = 0xAB;
  expected[79] = 0x0F;
  expected[80] = 0x0C;
  expected[96] = 0x0F;
  EXPECT_EQ(bytes, expected);
}

TEST_F(EditRawDataDlgTest, OkWithoutAChangeClosesLikeCancel) {
  auto dlg = Open();
  TypeInto(*dlg, 2, 3, "8E");  // the same value as "8e", in upper case
  ASSERT_EQ(original[34], 0x8E);
  dlg->GetOkButton()->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(bytes, original);
}

TEST_F(EditRawDataDlgTest, ClearAsksAndChangesOnlyTheGrid) {
  auto dlg = Open();
  ui.answers = {false, true};
  dlg->ClearButton()->click();
  EXPECT_EQ(dlg->Grid()->GetItemText(0, 1), "a0");
  dlg->ClearButton()->click();
  EXPECT_EQ(ui.questions, Texts(2, "You requested to clear all data.\r\nConfirm to Proceed"));
  for (int row = 0; row < 32; ++row) {
    EXPECT_EQ(dlg->Grid()->GetItemText(row, 0).toStdString(), Format("%2X0", static_cast<unsigned>(row)));
    for (int column = 1; column <= 16; ++column) EXPECT_EQ(dlg->Grid()->GetItemText(row, column), "00");
  }
  EXPECT_EQ(bytes, original);
  dlg->GetCancelButton()->click();
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(bytes, original);
}

// The main window's "Edit Raw Data" with the real dialog: `script` plays the
// user while the dialog runs modally.
class DialogUi : public testing::ScriptedUserInterface {
 public:
  bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) override {
    testing::WhenModal([this](QWidget* modal) {
      auto* dlg = qobject_cast<EditRawDataDlg*>(modal);
      ASSERT_NE(dlg, nullptr);
      script(*dlg);
      if (dlg->isVisible()) dlg->reject();  // a script that forgot to close must not hang the test
    });
    return RunEditRawDataDlg(nullptr, this, owner, rawData, length);
  }
  std::function<void(EditRawDataDlg&)> script;
};

class EditRawDataFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApp();
    core.Initialize();
    const std::vector<uint8_t> base = testing::MakeBase13();
    std::copy(base.begin(), base.end(), core.Image().rawData.begin());
    core.Image().Rebuild();
    ASSERT_EQ(core.Image().BlockCount(), 1u);
  }
  DialogUi ui;
  MainWindowCore core{ui};
};

TEST_F(EditRawDataFlowTest, ClearThenOkEmptiesTheImage) {
  ui.script = [](EditRawDataDlg& dlg) {
    dlg.ClearButton()->click();
    dlg.GetOkButton()->click();
  };
  core.EditRawData();
  EXPECT_EQ(core.Image().BlockCount(), 0u);
  EXPECT_EQ(core.Image().Labels().source, "None");
  EXPECT_FALSE(core.Image().IsModified());
  for (uint8_t byte : core.Image().rawData) ASSERT_EQ(byte, 0);
}

TEST_F(EditRawDataFlowTest, AnEditedByteIsDecodedAnew) {
  ASSERT_EQ(core.Image().GetPage(0)->GetTitle(), "EDID1.3 BaseBlock");
  ui.script = [](EditRawDataDlg& dlg) {
    TypeInto(dlg, 1, 4, "04");  // byte 19: the revision
    dlg.GetOkButton()->click();
  };
  core.EditRawData();
  ASSERT_EQ(core.Image().BlockCount(), 1u);
  EXPECT_EQ(core.Image().GetPage(0)->GetTitle(), "EDID1.4 BaseBlock");
  EXPECT_EQ(core.Image().rawData[19], 4);
  EXPECT_TRUE(core.Image().IsModified());

  // The next opening shows the new byte.
  std::string shown;
  ui.script = [&shown](EditRawDataDlg& dlg) {
    shown = dlg.Grid()->GetItemText(1, 4).toStdString();
    dlg.GetOkButton()->click();
  };
  core.EditRawData();
  EXPECT_EQ(shown, "04");
}

TEST_F(EditRawDataFlowTest, OkWithoutAChangeLeavesTheImageAlone) {
  BlockPage* page = core.Image().GetPage(0);
  ui.script = [](EditRawDataDlg& dlg) { dlg.GetOkButton()->click(); };
  core.EditRawData();
  EXPECT_EQ(core.Image().GetPage(0), page);  // not rebuilt
  EXPECT_FALSE(core.Image().IsModified());
}

TEST(EditRawDataWindowTest, TheButtonEditsTheLoadedImage) {
  testing::EnsureQtApp();
  VelmarEDIDUtilityDlg window;
  window.show();
  window.OpenCommandLineFile(std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin");
  ASSERT_EQ(window.PageArea()->tabText(0), "EDID1.3 BaseBlock");
  std::string name, group, blockLabel;
  window.Core().DescribeByte(8, name, group, blockLabel);
  ASSERT_FALSE(name.empty());
  Texts byte8, byte511;
  testing::ModalScript script{[&](QWidget* modal) {
    auto* dlg = qobject_cast<EditRawDataDlg*>(modal);
    ASSERT_NE(dlg, nullptr) << modal->metaObject()->className();
    dlg->Grid()->SelectCell(0, 9);
    byte8 = Labels(*dlg);
    dlg->Grid()->SelectCell(31, 16);  // past the last block
    byte511 = Labels(*dlg);
    TypeInto(*dlg, 1, 4, "04");  // byte 19: the revision
    dlg->GetOkButton()->click();
  }};
  window.Button(VelmarEDIDUtilityDlg::kEditRawDataId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(byte8, (Texts{"Byte[008]:", name, blockLabel, group}));
  EXPECT_EQ(byte511, (Texts{"Byte[511]:", "No Data Mapped", "", ""}));
  EXPECT_EQ(window.PageArea()->tabText(0), "EDID1.4 BaseBlock");
  EXPECT_EQ(window.Label(VelmarEDIDUtilityDlg::kModifiedMarkId)->text(), "[Modified]");
}

}  // namespace
}  // namespace velmar
