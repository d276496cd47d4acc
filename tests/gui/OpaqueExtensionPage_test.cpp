// Extension blocks that no model decodes, in the real main window: a tab
// each, captioned by the tag, with no section button, and removable.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "app/view/VelmarEDIDUtilityDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/view/BlockPageView.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Answer;
using testing::ModalScript;

QStringList TabCaptions(const Dlg& window) {
  QStringList captions;
  for (int i = 0; i < window.PageArea()->count(); ++i) captions << window.PageArea()->tabText(i);
  return captions;
}

TEST(OpaqueExtensionPageTest, EachBlockHasItsTabWithoutButtonsAndIsRemovable) {
  QApplication* app = testing::EnsureQtApp();
  (void)app;
  Dlg window;
  window.show();
  // A Block Map, then two blocks of tags no model knows.
  window.OpenCommandLineFile(testing::CorpusDir() + "/lhw-0c80b721be83.bin");
  EXPECT_EQ(TabCaptions(window),
            QStringList({"EDID1.3 BaseBlock", "Block Map", "Extension (tag 0x1A)", "Extension (tag 0xCC)"}));
  for (int i = 1; i < 4; ++i) {
    window.PageArea()->setCurrentIndex(i);
    BlockPageView* view = window.PageView(i);
    ASSERT_NE(view, nullptr);
    const QList<QPushButton*> buttons = view->findChildren<QPushButton*>();
    EXPECT_FALSE(buttons.isEmpty());
    for (QPushButton* button : buttons) {
      EXPECT_FALSE(button->isVisible()) << i << " " << button->text().toStdString();
    }
  }

  window.PageArea()->setCurrentIndex(2);
  QString question;
  ModalScript script{Answer(QMessageBox::Ok, &question)};
  window.Button(Dlg::kRemoveBlockId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(question, "Removing \"Extension (tag 0x1A)\"\nAre you sure?");
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock", "Block Map", "Extension (tag 0xCC)"}));
  EXPECT_EQ(window.Label(Dlg::kModifiedMarkId)->text(), "[Modified]");
  window.Core().Image().ClearModified();
}

}  // namespace
}  // namespace velmar
