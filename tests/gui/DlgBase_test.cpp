#include "dialogs/view/DlgBase.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "gui/QtTestSupport.h"
#include "support/ScriptedUserInterface.h"

namespace velmar {
namespace {

// An editor dialog of the usual shape: one field, OK, Cancel and a third button.
class ProbeDlg : public DlgBase {
 public:
  ProbeDlg() {
    field = new QLineEdit(this);
    list = new QListWidget(this);
    list->addItem("one");
    ok = new QPushButton("OK", this);
    cancel = new QPushButton("Cancel", this);
    other = new QPushButton("Clear", this);
    connect(ok, &QPushButton::clicked, this, [this] { OnOkButton(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancelButton(); });
    connect(other, &QPushButton::clicked, this, [this] { ++otherClicks; });
  }
  void OnOkButton() override {
    ++okCalls;
    uint32_t value = 0;
    if (!ReadDecimal(field, value)) return;  // stays open, as a failed check does
    DlgBase::OnOkButton();
  }
  void OnCancelButton() override {
    ++cancelCalls;
    DlgBase::OnCancelButton();
  }
  QAbstractButton* GetOkButton() const override { return ok; }
  QAbstractButton* GetCancelButton() const override { return cancel; }

  QLineEdit* field;
  QListWidget* list;
  QPushButton* ok;
  QPushButton* cancel;
  QPushButton* other;
  int okCalls = 0;
  int cancelCalls = 0;
  int otherClicks = 0;
};

class DlgBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { dlg.show(); }
  QApplication* app = testing::EnsureQtApp();
  ProbeDlg dlg;
};

TEST_F(DlgBaseTest, EnterInAFieldOrAListClosesNothing) {
  dlg.field->setText("12");
  for (QWidget* target : {static_cast<QWidget*>(dlg.field), static_cast<QWidget*>(dlg.list)}) {
    target->setFocus();
    testing::PressKey(target, Qt::Key_Return);
    testing::PressKey(target, Qt::Key_Enter);
  }
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.okCalls, 0);
  EXPECT_EQ(dlg.cancelCalls, 0);
}

TEST_F(DlgBaseTest, EnterOnAnotherButtonDoesNotClickIt) {
  dlg.other->setFocus();
  testing::PressKey(dlg.other, Qt::Key_Return);
  EXPECT_EQ(dlg.otherClicks, 0);
  EXPECT_TRUE(dlg.isVisible());
}

TEST_F(DlgBaseTest, EnterOnOkRunsTheChecksAndClosesOnlyWhenTheyPass) {
  dlg.field->setText("12 ");
  dlg.ok->setFocus();
  testing::PressKey(dlg.ok, Qt::Key_Return);
  EXPECT_EQ(dlg.okCalls, 1);
  EXPECT_TRUE(dlg.isVisible());

  dlg.field->setText("12");
  testing::PressKey(dlg.ok, Qt::Key_Enter);
  EXPECT_EQ(dlg.okCalls, 2);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(DlgBaseTest, EnterOnCancelCancels) {
  dlg.cancel->setFocus();
  testing::PressKey(dlg.cancel, Qt::Key_Return);
  EXPECT_EQ(dlg.cancelCalls, 1);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(DlgBaseTest, EscapeFromAFieldCancelsWithoutChecking) {
  dlg.field->setText("not a number");
  dlg.field->setFocus();
  testing::PressKey(dlg.field, Qt::Key_Escape);
  EXPECT_EQ(dlg.cancelCalls, 1);
  EXPECT_EQ(dlg.okCalls, 0);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(DlgBaseTest, TheCloseButtonGoesThroughCancel) {
  dlg.close();
  EXPECT_EQ(dlg.cancelCalls, 1);
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(DlgBaseTest, FieldHelpersReadAndWriteTheNumberTexts) {
  uint32_t value = 7;
  dlg.field->setText("0x1F");
  EXPECT_TRUE(DlgBase::ReadHex(dlg.field, value));
  EXPECT_EQ(value, 31u);
  dlg.field->setText("4294967297");
  EXPECT_FALSE(DlgBase::ReadDecimal(dlg.field, value));
  EXPECT_EQ(value, 31u);
  double real = 0;
  dlg.field->setText(" 63.99 ");
  EXPECT_TRUE(DlgBase::ParseReal(dlg.field, real));
  EXPECT_DOUBLE_EQ(real, 63.99000001);

  DlgBase::WriteHex(dlg.field, 2, 5, true);
  EXPECT_EQ(dlg.field->text(), "0x05");
  DlgBase::WriteHexLower(dlg.field, 0xAB);
  EXPECT_EQ(dlg.field->text(), "ab");
  DlgBase::WriteFixed(dlg.field, 1, 2.2, 3);
  EXPECT_EQ(dlg.field->text(), "2.2");
}

TEST_F(DlgBaseTest, FieldMessagesGoThroughTheUserInterfaceWhenGiven) {
  testing::ScriptedUserInterface ui;
  DlgBase withUi(nullptr, &ui);
  withUi.ShowMessage("Invalid Year (Valid Range 1990 --> 2245)");
  EXPECT_EQ(ui.messages, std::vector<std::string>({"Invalid Year (Valid Range 1990 --> 2245)"}));

  QString shown;
  Qt::TextFormat format = Qt::AutoText;
  testing::ModalScript script{[&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shown = box->text();
    format = box->textFormat();
    box->button(QMessageBox::Ok)->click();
  }};
  dlg.ShowMessage("<b>first</b>\r\nsecond");
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(shown, "<b>first</b>\nsecond");
  EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace velmar
