// Descriptors and CEA data blocks added and removed through the page buttons
// of the real main window, and the menu commands that reach the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "app/view/GenericSelectDlg.h"
#include "app/view/LabelFont.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/EdidBaseBlockPage.h"
#include "pages/view/BlockPageView.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Answer;
using testing::Choose;
using testing::ModalScript;

class PageButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override { window.show(); }
  void TearDown() override { window.Core().Image().ClearModified(); }
  // Adds a block of the kind at `position` of the add list.
  void AddBlock(int position) {
    ModalScript script{Choose(position)};
    window.Button(Dlg::kAddBlockId)->click();
    ASSERT_EQ(script.Remaining(), 0u);
  }

  QApplication* app = testing::EnsureQtApp();
  Dlg window;
};

TEST_F(PageButtonsTest, AddAndRemoveADescriptorThroughTheSlotButtons) {
  AddBlock(0);  // EDID 1.3 base block
  BlockPageView* view = window.PageView(0);
  ASSERT_NE(view, nullptr);
  constexpr int kRow = EdidBaseBlockPage::kFirstSlotRow + 1;
  QPushButton* slot = view->Button(kLeftItemId + kRow);
  QPushButton* action = view->Button(kLeftActionId + kRow);
  EXPECT_EQ(view->Button(kLeftItemId)->text(), "General Info");
  EXPECT_EQ(action->text(), "Add Descriptor");
  EXPECT_FALSE(slot->isEnabled());

  QStringList kinds;
  ModalScript script{Choose(4, &kinds)};
  action->click();
  EXPECT_EQ(script.Titles(), std::vector<QString>({"Select Descriptor To Add"}));
  EXPECT_EQ(kinds.size(), 7);
  EXPECT_EQ(slot->text(), "Display Product Name");
  EXPECT_TRUE(slot->isEnabled());
  EXPECT_EQ(action->text(), "Remove");
  EXPECT_TRUE(window.Core().Image().IsModified());

  QString question;
  script.Then(Answer(QMessageBox::Ok, &question));
  action->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(question, "Removing Descriptor \"Display Product Name\"\nAre you sure?");
  EXPECT_EQ(action->text(), "Add Descriptor");
  EXPECT_EQ(slot->text(), "");
  EXPECT_FALSE(slot->isEnabled());
}

TEST_F(PageButtonsTest, AddAndRemoveACeaDataBlockThroughTheRowButtons) {
  AddBlock(0);
  AddBlock(0);  // EDID CEA Ext Block
  ASSERT_EQ(window.PageArea()->currentIndex(), 1);
  BlockPageView* view = window.PageView(1);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Button(kLeftItemId)->text(), "General Info");
  EXPECT_EQ(view->Button(kLeftActionId + 1)->text(), "Add DTD");
  QPushButton* action = view->Button(kRightActionId);
  EXPECT_EQ(action->text(), "Add DataBlock");

  QStringList kinds;
  ModalScript script{Choose(1, &kinds)};
  action->click();
  EXPECT_EQ(script.Titles(), std::vector<QString>({"Select Data Block To Add"}));
  ASSERT_EQ(kinds.size(), 15);
  EXPECT_EQ(kinds.first(), "Audio Data Block");
  EXPECT_EQ(view->Button(kRightItemId)->text(), "Video Data Block");
  EXPECT_EQ(action->text(), "Remove");
  EXPECT_EQ(view->Button(kRightActionId + 1)->text(), "Add DataBlock");

  QString question;
  script.Then(Answer(QMessageBox::Ok, &question));
  action->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(question, "Removing DTD \"Video Data Block\"\nAre you sure?");
  EXPECT_EQ(action->text(), "Add DataBlock");
  EXPECT_EQ(view->Button(kRightItemId)->text(), "");
}

TEST_F(PageButtonsTest, TheInfCommandNeedsABlock) {
  QString message;
  ModalScript script{Answer(QMessageBox::Ok, &message)};
  window.MenuAction("Generate EDID INF file")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(message, "Operation Failed. Need valid EDID with at least 1 block");
  EXPECT_EQ(script.Titles().size(), 1u);  // no save dialog
}

TEST_F(PageButtonsTest, TheInitLogShowsAsPlainText) {
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  ModalScript script{Answer(QMessageBox::Ok, &text, &format)};
  window.MenuAction("Show Graphics Adapters init log")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(format, Qt::PlainText);
}

TEST(LabelFontTest, CalibriBeatsVerdanaWhateverTheOrder) {
  const std::optional<LabelFace> calibri = ChooseLabelFace({"DejaVu Sans", "Verdana", "Calibri", "Arial"});
  ASSERT_TRUE(calibri.has_value());
  EXPECT_EQ(calibri->face, "Calibri");
  EXPECT_EQ(calibri->width, 6);
  const std::optional<LabelFace> first = ChooseLabelFace({"Calibri", "Verdana"});
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->face, "Calibri");
  const std::optional<LabelFace> verdana = ChooseLabelFace({"Verdana", "Tahoma"});
  ASSERT_TRUE(verdana.has_value());
  EXPECT_EQ(verdana->face, "Verdana");
  EXPECT_EQ(verdana->width, 5);
  EXPECT_FALSE(ChooseLabelFace({"calibri", "DejaVu Sans"}).has_value());
  EXPECT_FALSE(ChooseLabelFace({}).has_value());
}

TEST_F(PageButtonsTest, WithoutEitherFaceTheLabelsKeepTheWindowFont) {
  std::vector<std::string> families;
  for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
  if (ChooseLabelFace(families).has_value()) GTEST_SKIP() << "a preferred face is installed here";
  EXPECT_EQ(window.Label(Dlg::kSourceLabelId)->font(), window.font());
  EXPECT_EQ(window.Label(Dlg::kPathLabelId)->font(), window.font());
}

}  // namespace
}  // namespace velmar
