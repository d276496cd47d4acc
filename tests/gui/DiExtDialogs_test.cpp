// The DI-EXT page's six section buttons in the real main window: each opens
// its editor dialog, and Cancel after an edit writes nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/view/VelmarEDIDUtilityDlg.h"
#include "dialogs/EditorForm.h"
#include "dialogs/view/FormDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/view/BlockPageView.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Choose;
using testing::ModalScript;

TEST(DiExtDialogsTest, SixButtonsOpenSixDialogsAndCancelWritesNothing) {
  QApplication* app = testing::EnsureQtApp();
  (void)app;
  Dlg window;
  window.show();
  ModalScript script{Choose(0), Choose(1)};  // an EDID 1.3 base block, then a DI-EXT block
  window.Button(Dlg::kAddBlockId)->click();
  window.Button(Dlg::kAddBlockId)->click();
  ASSERT_EQ(script.Remaining(), 0u);
  BlockPageView* view = window.PageView(1);
  ASSERT_NE(view, nullptr);
  const auto before = window.Core().Image().rawData;
  window.Core().Image().ClearModified();

  std::vector<QString> forms;
  for (int row = 0; row < 6; ++row) {
    script.Then([&forms](QWidget* modal) {
      auto* dialog = qobject_cast<FormDlg*>(modal);
      ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
      forms.push_back(dialog->objectName());
      // Change a field the way the user does, then give up.
      QLineEdit* edit = nullptr;
      for (QLineEdit* candidate : dialog->findChildren<QLineEdit*>()) {
        if (edit == nullptr && candidate->isEnabled()) edit = candidate;
      }
      if (edit != nullptr) {
        edit->setText("99");
        emit edit->textEdited("99");
      } else if (auto* list = dialog->findChild<QComboBox*>()) {
        list->setCurrentIndex(1);
        emit list->activated(1);
      }
      EXPECT_TRUE(dialog->Form().Changed());
      dialog->GetCancelButton()->click();
    });
    view->Button(kLeftItemId + row)->click();
  }
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(script.Titles(),
            std::vector<QString>({"Select Base/Extension Block to create", "Select Extension Block to create",
                                  "DI Extension General Info", "DI Data Format and Clock", "DI Display Device Section",
                                  "DI Display Capabilities", "DI Color/Luminance Properties", "DI Gamma Section"}));
  EXPECT_EQ(forms, std::vector<QString>({"di1.general", "di1.format", "di1.device", "di1.caps", "di1.color",
                                         "di1.gamma"}));
  EXPECT_TRUE(window.Core().Image().rawData == before);
  EXPECT_FALSE(window.Core().Image().IsModified());
}

}  // namespace
}  // namespace velmar
