#include "dialogs/view/FormDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/EditorForm.h"
#include "gui/QtTestSupport.h"
#include "support/ScriptedUserInterface.h"

namespace velmar {
namespace {

// A form with one field of each kind and a rule: checking "more" enables
// "extra"; the list's choice names the edit's label.
class ProbeForm : public EditorForm {
 public:
  ProbeForm() : EditorForm("probe.form", "Probe Form") {
    AddEdit("value", "Value:", "5");
    AddCheck("more", "More", false);
    AddEdit("extra", "Extra:", "").enabled = false;
    AddList("unit", "Unit:", {"Hz", "kHz"}, 0);
    AddLabel("count", "Count:", "1");
    AddButton("add", "Add");
    Opened();
  }
  int applied = 0;
  int presses = 0;

 protected:
  std::string Check() override { return Field("value").text == "bad" ? "Invalid Value" : ""; }
  void Apply() override { ++applied; }
  bool OnChanged(FormField& field, const FormField& before) override {
    (void)before;
    if (field.name == "more") Field("extra").enabled = field.checked;
    if (field.name == "unit") Field("value").label = field.selection == 1 ? "Value (kHz):" : "Value:";
    return true;
  }
  void OnPressed(FormField& field, UserInterface& ui) override {
    (void)field, (void)ui;
    Field("count").text = std::to_string(++presses + 1);
  }
};

class FormDlgTest : public ::testing::Test {
 protected:
  QApplication* app = testing::EnsureQtApp();
  testing::ScriptedUserInterface ui;
  ProbeForm form;
  FormDlg dlg{nullptr, &ui, form};
};

TEST_F(FormDlgTest, ControlsShowTheFormAndFollowItsRules) {
  EXPECT_EQ(dlg.windowTitle(), "Probe Form");
  auto* value = qobject_cast<QLineEdit*>(dlg.Control("value"));
  auto* more = qobject_cast<QCheckBox*>(dlg.Control("more"));
  auto* extra = qobject_cast<QLineEdit*>(dlg.Control("extra"));
  auto* unit = qobject_cast<QComboBox*>(dlg.Control("unit"));
  ASSERT_TRUE(value && more && extra && unit);
  EXPECT_EQ(value->text(), "5");
  EXPECT_FALSE(extra->isEnabled());

  more->click();
  EXPECT_TRUE(form.Find("more")->checked);
  EXPECT_TRUE(extra->isEnabled());

  unit->setCurrentIndex(1);
  emit unit->activated(1);
  EXPECT_EQ(dlg.findChild<QLabel*>("value.label")->text(), "Value (kHz):");

  qobject_cast<QPushButton*>(dlg.Control("add"))->click();
  EXPECT_EQ(qobject_cast<QLabel*>(dlg.Control("count"))->text(), "2");
}

TEST_F(FormDlgTest, OkShowsTheFirstMessageAndStaysOpenUntilTheFormAccepts) {
  dlg.show();
  auto* value = qobject_cast<QLineEdit*>(dlg.Control("value"));
  value->setText("bad");
  emit value->textEdited("bad");
  dlg.GetOkButton()->click();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid Value"});
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(form.applied, 0);

  value->setText("6");
  emit value->textEdited("6");
  dlg.GetOkButton()->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(form.applied, 1);
}

TEST_F(FormDlgTest, EnterInAFieldAndCancelWriteNothing) {
  dlg.show();
  auto* value = qobject_cast<QLineEdit*>(dlg.Control("value"));
  value->setFocus();
  value->setText("7");
  emit value->textEdited("7");
  testing::PressKey(value, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  testing::PressKey(value, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(form.applied, 0);
}

// A form's "&" is a plain character, not the toolkit's shortcut mark.
class AmpersandForm : public EditorForm {
 public:
  AmpersandForm() : EditorForm("probe.amp", "Probe") {
    AddCheck("both", "Direct & Reflected", false);
    AddEdit("value", "Plug & Display:", "");
    AddButton("press", "Add & Go");
    Opened();
  }

 protected:
  void Apply() override {}
};

TEST(FormDlgCaptionTest, AnAmpersandInACaptionIsNoShortcut) {
  testing::EnsureQtApp();
  AmpersandForm form;
  FormDlg dlg(nullptr, nullptr, form);
  for (const char* name : {"both", "press"}) {
    const auto* button = qobject_cast<QAbstractButton*>(dlg.Control(name));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(QKeySequence::mnemonic(button->text()).isEmpty()) << name;
  }
  EXPECT_TRUE(QKeySequence::mnemonic(dlg.findChild<QLabel*>("value.label")->text()).isEmpty());
}

}  // namespace
}  // namespace velmar
