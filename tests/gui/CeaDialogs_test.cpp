// The CEA page's buttons open their editor dialogs in the real main window:
// each with its title; Cancel and Escape write nothing, OK writes and marks
// the image modified; the HDMI dialog opens its sub-dialogs over itself.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "app/view/VelmarEDIDUtilityDlg.h"
#include "blocks/CeaBlockBuilder.h"
#include "dialogs/EditorForm.h"
#include "dialogs/view/FormDlg.h"
#include "gui/QtTestSupport.h"
#include "pages/view/BlockPageView.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Bytes;
using testing::DataBlockBytes;
using testing::ModalScript;

// A base block and a CEA block with a data block of every kind that has a
// dialog of its own, then a vendor specific one, and one DTD.
std::string WriteSample(const std::string& dir) {
  const testing::CeaImage cea = testing::MakeCea(
      {DataBlockBytes(1, {0x09, 0x07, 0x07}), DataBlockBytes(2, {0x90, 0x04}),
       DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00}), DataBlockBytes(4, {0x01, 0x00, 0x00}),
       DataBlockBytes(7, {0x00, 0x3F}), DataBlockBytes(7, {0x05, 0x01, 0x00}), DataBlockBytes(3, {0x01, 0x02, 0x03, 0xAA})},
      1);
  Bytes bytes = testing::MakeBase13(1);
  const Bytes block = cea.Range(0, kBlockSize);
  bytes.insert(bytes.end(), block.begin(), block.end());
  const std::string path = dir + "/cea.bin";
  testing::WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

class CeaDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    window.show();
    window.OpenCommandLineFile(WriteSample(dir));
    window.PageArea()->setCurrentIndex(1);
    view = window.PageView(1);
    ASSERT_NE(view, nullptr);
    original = window.Core().Image().rawData;
  }
  void TearDown() override {
    window.Core().Image().ClearModified();
    testing::RemoveTree(dir);
  }
  bool Unchanged() { return window.Core().Image().rawData == original && !window.Core().Image().IsModified(); }

  QApplication* app = testing::EnsureQtApp();
  Dlg window;
  std::string dir;
  BlockPageView* view = nullptr;
  std::array<uint8_t, kMaxEdidSize> original{};
};

// Changes the dialog's first control that takes a change (a check box, else
// an edit line, else a list), then presses Cancel.
void ChangeAndCancel(QWidget* modal) {
  auto* dialog = qobject_cast<FormDlg*>(modal);
  ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
  for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
    if (dialog->Form().Changed()) break;
    if (box->isEnabled()) box->click();
  }
  for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
    if (dialog->Form().Changed()) break;
    if (!edit->isEnabled()) continue;
    edit->setText(edit->text() + "1");
    emit edit->textEdited(edit->text());
  }
  for (QComboBox* list : dialog->findChildren<QComboBox*>()) {
    if (dialog->Form().Changed()) break;
    if (!list->isEnabled()) continue;
    list->setCurrentIndex((list->currentIndex() + 1) % list->count());
    emit list->activated(list->currentIndex());
  }
  ASSERT_TRUE(dialog->Form().Changed()) << dialog->windowTitle().toStdString();
  dialog->GetCancelButton()->click();
}

TEST_F(CeaDialogsTest, EachRowButtonOpensItsDialogAndCancelWritesNothing) {
  const std::vector<QString> titles = {"CEA Short Audio Descriptors",   "CEA Short Video Descriptors",
                                       "CEA HDMI Vendor Specific Data Block", "CEA Speakers Allocation",
                                       "CEA Video Capabilities",        "CEA Colorimetry",
                                       "CEA Data Block"};
  for (int row = 0; row < static_cast<int>(titles.size()); ++row) {
    ModalScript script{ChangeAndCancel};
    view->Button(kRightItemId + row)->click();
    EXPECT_EQ(script.Remaining(), 0u) << row;
    EXPECT_EQ(script.Titles(), std::vector<QString>{titles[static_cast<size_t>(row)]});
    EXPECT_TRUE(Unchanged()) << row;
  }
  ModalScript script{ChangeAndCancel, ChangeAndCancel};
  view->Button(kLeftItemId)->click();
  view->Button(kLeftItemId + 1)->click();
  EXPECT_EQ(script.Titles(), (std::vector<QString>{"CEA Extension General Info", "EDID Detailed Timing"}));
  EXPECT_TRUE(Unchanged());
}

TEST_F(CeaDialogsTest, EscapeWritesNothingAndOkWritesTheBlock) {
  ModalScript script{[](QWidget* modal) {
    auto* dialog = qobject_cast<FormDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* address = qobject_cast<QLineEdit*>(dialog->Control("phys-a"));
    ASSERT_NE(address, nullptr);
    address->setText("5");
    emit address->textEdited("5");
    testing::PressKey(address, Qt::Key_Escape);
  }};
  view->Button(kRightItemId + 2)->click();
  EXPECT_EQ(script.Titles(), std::vector<QString>{"CEA HDMI Vendor Specific Data Block"});
  EXPECT_TRUE(Unchanged());

  script.Then([](QWidget* modal) {
    auto* dialog = qobject_cast<FormDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    qobject_cast<QCheckBox*>(dialog->Control("front-center"))->click();
    dialog->GetOkButton()->click();
  });
  view->Button(kRightItemId + 3)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  const unsigned speakerPayload = kBlockSize + 4 + 4 + 3 + 11 + 1;
  EXPECT_EQ(window.Core().Image().rawData[speakerPayload], 0x05);
  EXPECT_TRUE(window.Core().Image().IsModified());
}

TEST_F(CeaDialogsTest, TheHdmiDialogOpensItsSubDialogsOverItself) {
  QString subTitle;
  bool subOverMain = false;
  ModalScript script{[&](QWidget* modal) {
    auto* dialog = qobject_cast<FormDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    ModalScript sub{[&](QWidget* inner) {
      subTitle = inner->windowTitle();
      subOverMain = inner != modal;
      auto* subDialog = qobject_cast<FormDlg*>(inner);
      ASSERT_NE(subDialog, nullptr);
      qobject_cast<QCheckBox*>(subDialog->Control("used[0]"))->click();
      subDialog->GetCancelButton()->click();
    }};
    qobject_cast<QPushButton*>(dialog->Control("edit-hdmi-vics"))->click();
    EXPECT_EQ(sub.Remaining(), 0u);
    EXPECT_FALSE(dialog->Form().Changed());
    dialog->GetOkButton()->click();
  }};
  view->Button(kRightItemId + 2)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(subTitle, "CEA HDMI Short Video Descriptors");
  EXPECT_TRUE(subOverMain);
  EXPECT_TRUE(Unchanged());
}

}  // namespace
}  // namespace velmar
