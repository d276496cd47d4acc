#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <functional>

#include "common/UserInterface.h"
#include "app/view/GenericContentDlg.h"
#include "app/view/GenericSelectDlg.h"
#include "app/view/QtUserInterface.h"
#include "gui/QtTestSupport.h"
#include "util/Format.h"

namespace velmar {
namespace {

// An owner whose content is whatever the test writes into `fill`.
class ScriptedOwner : public CallbackContext {
 public:
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override {
    kinds.push_back(kind);
    if (fill) fill(target);
  }
  void DescribeByte(unsigned, std::string&, std::string&, std::string&) override {}
  void RelayoutBlocks() override {}
  void SetModified() override {}

  std::function<void(CallbackFillContentTgt*)> fill;
  std::vector<unsigned> kinds;
};

class GenericDialogsTest : public ::testing::Test {
 protected:
  QApplication* app = testing::EnsureQtApp();
  ScriptedOwner owner;
};

TEST_F(GenericDialogsTest, ViewerShowsTheTextAsAppendedAndEndsScrolledToTheEnd) {
  owner.fill = [](CallbackFillContentTgt* target) {
    target->SetTitle("EDID Data Summary");
    for (unsigned line = 0; line < 4000; ++line) target->Append(Format("line %04u\r\n", line));
    target->Append("");
    target->Append("last");
  };
  GenericContentDlg viewer(nullptr, &owner, kContentSummary);
  EXPECT_EQ(owner.kinds, std::vector<unsigned>({kContentSummary}));
  EXPECT_EQ(viewer.windowTitle(), "EDID Data Summary");
  const QString text = viewer.Text();
  EXPECT_TRUE(text.startsWith("line 0000\nline 0001\n"));
  EXPECT_TRUE(text.endsWith("line 3999\nlast"));
  EXPECT_EQ(text.count('\n'), 4000);
  viewer.show();
  const QScrollBar* bar = viewer.TextBox()->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_TRUE(viewer.TextBox()->isReadOnly());
  EXPECT_TRUE(viewer.TextBox()->font().fixedPitch());
}

TEST_F(GenericDialogsTest, ViewerKeys) {
  owner.fill = [](CallbackFillContentTgt* target) { target->Append("some text\r\nmore\r\n"); };
  GenericContentDlg viewer(nullptr, &owner, kContentErrorsReport);
  viewer.show();
  viewer.TextBox()->setFocus();
  testing::PressKey(viewer.TextBox(), Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(viewer.TextBox()->textCursor().selectedText().size(), viewer.Text().size());
  testing::PressKey(viewer.TextBox(), Qt::Key_Return);
  EXPECT_TRUE(viewer.isVisible());
  testing::PressKey(viewer.TextBox(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible());
}

TEST_F(GenericDialogsTest, ViewerFollowsItsWindowsSize) {
  GenericContentDlg viewer(nullptr, &owner, kContentSummary);
  viewer.show();
  viewer.resize(500, 300);
  EXPECT_EQ(viewer.TextBox()->geometry(), QRect(2, 2, 496, 296));
}

TEST_F(GenericDialogsTest, SelectionKeepsTheOrderAndStartsOnTheFirstItem) {
  owner.fill = [](CallbackFillContentTgt* target) {
    target->SetTitle("Select Extension Block to create");
    target->Append("Zeta");
    target->Append("");
    target->Append("Alpha");
  };
  GenericSelectDlg dialog(nullptr, &owner, kContentSelectExtension);
  EXPECT_EQ(dialog.windowTitle(), "Select Extension Block to create");
  ASSERT_EQ(dialog.List()->count(), 3);
  EXPECT_EQ(dialog.List()->itemText(0), "Zeta");
  EXPECT_EQ(dialog.List()->itemText(1), "");
  EXPECT_EQ(dialog.List()->itemText(2), "Alpha");
  EXPECT_EQ(dialog.List()->currentIndex(), 0);
  dialog.show();
  dialog.List()->setCurrentIndex(2);
  dialog.GetOkButton()->click();
  EXPECT_EQ(dialog.Selection(), 2u);
}

TEST_F(GenericDialogsTest, EmptyListAndCancelGiveNoSelection) {
  {
    GenericSelectDlg dialog(nullptr, &owner, kContentSelectDisplay);
    dialog.show();
    dialog.GetOkButton()->click();
    EXPECT_EQ(dialog.Selection(), kNoSelection);
  }
  owner.fill = [](CallbackFillContentTgt* target) { target->Append("one"); };
  {
    GenericSelectDlg dialog(nullptr, &owner, kContentSelectDisplay);
    dialog.show();
    dialog.GetCancelButton()->click();
    EXPECT_EQ(dialog.Selection(), kNoSelection);
  }
  {
    GenericSelectDlg dialog(nullptr, &owner, kContentSelectDisplay);
    dialog.show();
    dialog.List()->setFocus();
    testing::PressKey(dialog.List(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    testing::PressKey(dialog.List(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Selection(), kNoSelection);
  }
}

TEST_F(GenericDialogsTest, SelectItemRunsTheListModally) {
  owner.fill = [](CallbackFillContentTgt* target) {
    target->Append("a");
    target->Append("b");
  };
  QtUserInterface ui;
  testing::ModalScript script{[](QWidget* modal) {
    auto* dialog = qobject_cast<GenericSelectDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->List()->setCurrentIndex(1);
    dialog->GetOkButton()->setFocus();
    testing::PressKey(dialog->GetOkButton(), Qt::Key_Return);
  }};
  EXPECT_EQ(ui.SelectItem(&owner, 2), 1u);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(owner.kinds, std::vector<unsigned>({2u}));
}

TEST(FileDialogFiltersTest, BecomeTheToolkitsFilters) {
  EXPECT_EQ(QtUserInterface::NameFilters("Text files (*.txt)|*.txt|EDID Text files (*.etxt)|*.etxt|All files (*.*)|*.*||"),
            QStringList({"Text files (*.txt)", "EDID Text files (*.etxt)", "All files (*)"}));
  EXPECT_EQ(QtUserInterface::NameFilters("Setup Information files (*.inf)|*.inf|All files (*.*)|*.*||"),
            QStringList({"Setup Information files (*.inf)", "All files (*)"}));
  EXPECT_EQ(QtUserInterface::NameFilters("Both|*.bin;*.edid||"), QStringList({"Both (*.bin *.edid)"}));
  EXPECT_TRUE(QtUserInterface::NameFilters("").isEmpty());
}

}  // namespace
}  // namespace velmar
