// The base block's editor dialogs opened from the page buttons of the real
// main window on the bundled sample.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/view/VelmarEDIDUtilityDlg.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "dialogs/view/FormDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/EdidBaseBlockPage.h"
#include "pages/view/BlockPageView.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::ModalScript;

std::string SamplePath() { return std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin"; }

// Types `text` into the edit of field `name`, as the keyboard does.
void Type(FormDlg* dialog, const char* name, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(dialog->Control(QString::fromLatin1(name)));
  ASSERT_NE(edit, nullptr) << name;
  edit->setFocus();
  edit->setText(text);
  emit edit->textEdited(text);
}

class BaseBlockDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.OpenCommandLineFile(SamplePath());
    window.Core().Image().ClearModified();
    view = window.PageView(0);
    ASSERT_NE(view, nullptr);
    before = window.Core().Image().rawData;
  }
  void TearDown() override { window.Core().Image().ClearModified(); }
  QPushButton* Row(int row) const { return view->Button(kLeftItemId + row); }
  bool Unchanged() { return window.Core().Image().rawData == before && !window.Core().Image().IsModified(); }

  QApplication* app = testing::EnsureQtApp();
  Dlg window;
  BlockPageView* view = nullptr;
  std::array<uint8_t, kMaxEdidSize> before{};
};

TEST_F(BaseBlockDialogsTest, EachSectionAndSlotButtonOpensItsDialog) {
  const auto cancel = [](QWidget* modal) {
    auto* dialog = qobject_cast<FormDlg*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
    dialog->GetCancelButton()->click();
  };
  ModalScript script;
  for (int row = 0; row < kGridRows; ++row) {
    script.Then(cancel);
    Row(row)->click();
  }
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(script.Titles(), std::vector<QString>({"EDID General Info", "EDID Basic Parameters",
                                                   "EDID Color Characteristics", "EDID Established Timings",
                                                   "EDID Standard Timings", "EDID Detailed Timing",
                                                   "EDID Range Limits Descriptor", "Display Product Name",
                                                   "Display Product Serial Number"}));
  EXPECT_TRUE(Unchanged());
}

TEST_F(BaseBlockDialogsTest, EnterInAFieldNeverClosesAndEscapeOrCancelWriteNothing) {
  bool openAfterEnter = false;
  ModalScript script{[&](QWidget* modal) {
                       auto* dialog = qobject_cast<FormDlg*>(modal);
                       ASSERT_NE(dialog, nullptr);
                       Type(dialog, "white-x", "0.5");
                       QWidget* edit = dialog->Control("white-x");
                       testing::PressKey(edit, Qt::Key_Return);
                       testing::PressKey(edit, Qt::Key_Enter);
                       openAfterEnter = dialog->isVisible();
                       testing::PressKey(edit, Qt::Key_Escape);
                     },
                     [](QWidget* modal) {
                       auto* dialog = qobject_cast<FormDlg*>(modal);
                       ASSERT_NE(dialog, nullptr);
                       Type(dialog, "pixel-clock", "0");  // bad, but never checked: Cancel
                       dialog->GetCancelButton()->click();
                     }};
  Row(2)->click();
  Row(EdidBaseBlockPage::kFirstSlotRow)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_TRUE(openAfterEnter);
  EXPECT_TRUE(Unchanged());
}

TEST_F(BaseBlockDialogsTest, OkShowsTheMessageOfABadFieldThenWritesAndMarksTheImage) {
  constexpr int kNameRow = EdidBaseBlockPage::kFirstSlotRow + 2;
  ASSERT_EQ(Row(kNameRow)->text(), "Display Product Name");
  QString message;
  bool openAfterMessage = false;
  ModalScript script{[&](QWidget* modal) {
                       auto* dialog = qobject_cast<FormDlg*>(modal);
                       ASSERT_NE(dialog, nullptr);
                       Type(dialog, "text", "A NAME TOO LONG");
                       // OK shows the message box: clicked from the event loop,
                       // so that the script can answer the box.
                       QTimer::singleShot(0, dialog->GetOkButton(), &QAbstractButton::click);
                     },
                     testing::Answer(QMessageBox::Ok, &message),
                     [&](QWidget* modal) {
                       auto* dialog = qobject_cast<FormDlg*>(modal);
                       ASSERT_NE(dialog, nullptr);
                       openAfterMessage = dialog->isVisible();
                       Type(dialog, "text", "VELMAR");
                       dialog->GetOkButton()->click();
                     }};
  Row(kNameRow)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_TRUE(openAfterMessage);
  EXPECT_EQ(message, "String too long. Maximum length 13 characters");
  EXPECT_TRUE(window.Core().Image().IsModified());
  EXPECT_EQ(window.Label(Dlg::kModifiedMarkId)->text(), "[Modified]");
  EXPECT_EQ(Row(kNameRow)->text(), "Display Product Name");
  ContentCollector summary;
  window.Core().FillContent(&summary, kContentSummary);
  EXPECT_NE(summary.Text().find("  \"VELMAR\"\r\n"), std::string::npos);
}

// The slot kinds the sample does not hold, on blocks built for the test:
// each slot button opens its dialog with its caption, and Cancel writes nothing.
TEST(BaseBlockSlotDialogsTest, EverySlotKindOpensItsDialog) {
  const struct {
    bool is14;
    std::array<unsigned, 4> kinds;
    std::vector<QString> captions;
  } cases[] = {
      {true,
       {kDescriptorColorManagement, kDescriptorCvtCodes, kDescriptorEstablishedTimingsIII, kDescriptorStandardTimings},
       {"EDID Color Mananagement", "EDID CVT 3Byte Timings", "EDID Established Timings", "EDID Standard Timings"}},
      {false,
       {kDescriptorColorPoint, kDescriptorAsciiString, kDescriptorRangeLimits, kDescriptorDetailedTiming},
       {"EDID Color Point Descriptor", "ASCII Data String", "EDID Range Limits Descriptor", "EDID Detailed Timing"}},
  };
  QApplication* app = testing::EnsureQtApp();
  (void)app;
  const std::string dir = testing::MakeTempDir();
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes(kBlockSize);
    if (c.is14) {
      Edid14Block::InitDefaultBytes(bytes.data(), kBlockSize);
      Edid14Block model(0, bytes.data(), kBlockSize, nullptr);
      for (unsigned slot = 0; slot < 4; ++slot) model.CreateDescriptor(c.kinds[slot], slot);
    } else {
      Edid13Block::InitDefaultBytes(bytes.data(), kBlockSize);
      Edid13Block model(0, bytes.data(), kBlockSize, nullptr);
      for (unsigned slot = 0; slot < 4; ++slot) model.CreateDescriptor(c.kinds[slot], slot);
    }
    const std::string path = dir + (c.is14 ? "/slots14.bin" : "/slots13.bin");
    testing::WriteTextFile(path, std::string(bytes.begin(), bytes.end()));

    Dlg window;
    window.show();
    window.OpenCommandLineFile(path);
    BlockPageView* view = window.PageView(0);
    ASSERT_NE(view, nullptr);
    const auto before = window.Core().Image().rawData;
    ModalScript script;
    for (int slot = 0; slot < 4; ++slot) {
      script.Then([](QWidget* modal) {
        auto* dialog = qobject_cast<FormDlg*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        dialog->GetCancelButton()->click();
      });
      view->Button(kLeftItemId + EdidBaseBlockPage::kFirstSlotRow + slot)->click();
    }
    EXPECT_EQ(script.Remaining(), 0u);
    EXPECT_EQ(script.Titles(), c.captions);
    EXPECT_TRUE(window.Core().Image().rawData == before);
    EXPECT_FALSE(window.Core().Image().IsModified());
    window.Core().Image().ClearModified();  // closing asks nothing
  }
  testing::RemoveTree(dir);
}

}  // namespace
}  // namespace velmar
