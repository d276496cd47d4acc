#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <filesystem>

#include "app/view/GenericContentDlg.h"
#include "app/view/GenericSelectDlg.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/view/BlockPageView.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Answer;
using testing::Choose;
using testing::ModalScript;
using testing::PickFile;
using testing::ReadViewer;

std::string SamplePath() { return std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin"; }

QStringList TabCaptions(const Dlg& window) {
  QStringList captions;
  for (int i = 0; i < window.PageArea()->count(); ++i) captions << window.PageArea()->tabText(i);
  return captions;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window.show(); }
  void TearDown() override {
    // Nothing to lose: the window closes without a question.
    window.Core().Image().ClearModified();
  }
  QString LabelText(int id) const { return window.Label(id)->text(); }
  bool Enabled(int id) const { return window.Button(id)->isEnabled(); }

  QApplication* app = testing::EnsureQtApp();
  Dlg window;
};

TEST_F(MainWindowTest, StartsEmptyWithTheSourceNone) {
  EXPECT_EQ(window.windowTitle(), "Velmar EDID Utility v1.1");
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_FALSE(window.PageArea()->isVisible());
  ASSERT_EQ(window.PageArea()->count(), 1);
  EXPECT_EQ(window.PageArea()->widget(0), window.Placeholder());
  EXPECT_EQ(LabelText(Dlg::kCurrentCaptionId), "Current EDID:");
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId), "None");
  EXPECT_EQ(LabelText(Dlg::kPathCaptionId), "");
  EXPECT_EQ(LabelText(Dlg::kPathLabelId), "");
  EXPECT_EQ(LabelText(Dlg::kModifiedMarkId), "");
  EXPECT_TRUE(Enabled(Dlg::kAddBlockId));
  EXPECT_FALSE(Enabled(Dlg::kRemoveBlockId));
  EXPECT_FALSE(Enabled(Dlg::kShowModesId));
  EXPECT_TRUE(Enabled(Dlg::kShowSummaryId));
  EXPECT_TRUE(Enabled(Dlg::kEditRawDataId));
  EXPECT_EQ(window.Button(Dlg::kAddBlockId)->text(), "Add Block");
  EXPECT_EQ(window.Button(Dlg::kEditRawDataId)->text(), "Edit Raw Data");
}

TEST_F(MainWindowTest, MenusHoldEveryItemInOrder) {
  QStringList shown;
  for (QMenu* menu : window.Menus()) {
    shown << "[" + menu->title() + "]";
    for (QAction* action : menu->actions()) shown << (action->isSeparator() ? QString("-") : action->text());
  }
  const QStringList expected = {"[&File]",
                                "Load EDID from TXT file",
                                "Save EDID as TXT file",
                                "-",
                                "Load EDID from BIN file",
                                "Save EDID as BIN file",
                                "-",
                                "Load EDID from INF file",
                                "Generate EDID INF file",
                                "-",
                                "Load Emulated EDID from REG file",
                                "Generate Emulated EDID REG file",
                                "-",
                                "&Quit",
                                "[&Edit]",
                                "&Undo",
                                "&Redo",
                                "[&Display]",
                                "Read EDID from display",
                                "Override display EDID",
                                "Remove display EDID override",
                                "Install boot-time EDID override",
                                "Remove boot-time EDID override",
                                "Check boot-time EDID override",
                                "-",
                                "Read Emulated EDID from registry",
                                "Override Emulated EDID registry",
                                "Delete Emulated EDID registry",
                                "-",
                                "Reinit Graphics Adapter Info",
                                "Show Graphics Adapters init log",
                                "[&Misc]",
                                "Generate EDID Errors Report"};
  EXPECT_EQ(shown, expected);
}

TEST_F(MainWindowTest, ACommandLineFileShowsOneTabPerBlock) {
  window.OpenCommandLineFile(SamplePath());
  EXPECT_TRUE(window.PageArea()->isVisible());
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock", "CEA ExtBlock"}));
  EXPECT_EQ(window.PageViewCount(), 2);
  EXPECT_EQ(window.PageArea()->currentIndex(), 0);
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId), "samsung-odyssey-g60sd.bin (Binary File)");
  EXPECT_EQ(LabelText(Dlg::kPathCaptionId), "File Path:");
  EXPECT_EQ(LabelText(Dlg::kPathLabelId).toStdString(), std::string(VELMAR_TEST_DATA_DIR) + "/../../samples");
  EXPECT_EQ(LabelText(Dlg::kModifiedMarkId), "");
  EXPECT_TRUE(Enabled(Dlg::kRemoveBlockId));
  EXPECT_TRUE(Enabled(Dlg::kShowModesId));
}

TEST_F(MainWindowTest, LoadFromTheFileMenuOffersTheBinaryFilters) {
  QStringList filters;
  QString suffix;
  ModalScript script{PickFile(SamplePath(), nullptr, &filters, &suffix)};
  window.MenuAction("Load EDID from BIN file")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(filters, QStringList({"Binary files (*.bin)", "EDID Binary files (*.edid)", "EDID Binary files (*.ebin)",
                                  "All files (*)"}));
  EXPECT_EQ(suffix, "bin");
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock", "CEA ExtBlock"}));
}

TEST_F(MainWindowTest, CancellingTheUnsavedDataQuestionKeepsTheImage) {
  window.OpenCommandLineFile(SamplePath());
  window.Core().Image().SetModified();
  EXPECT_EQ(LabelText(Dlg::kModifiedMarkId), "[Modified]");
  QString question;
  ModalScript script{Answer(QMessageBox::Cancel, &question)};
  window.MenuAction("Load EDID from TXT file")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(question, "All unsaved data will be lost\nAre you sure?");
  EXPECT_EQ(script.Titles().size(), 1u);  // no file dialog followed
  EXPECT_EQ(window.PageArea()->count(), 2);
  EXPECT_TRUE(window.Core().Image().IsModified());
}

TEST_F(MainWindowTest, AddAndRemoveBlocksThroughTheButtons) {
  QStringList kinds;
  ModalScript script{Choose(0, &kinds)};
  window.Button(Dlg::kAddBlockId)->click();
  EXPECT_EQ(script.Titles(), std::vector<QString>({"Select Base/Extension Block to create"}));
  EXPECT_EQ(kinds, QStringList({"EDID1.3 Base Block", "EDID1.4 Base Block", "DID Base Block", "EDID CEA Ext Block",
                                "EDID DI Ext Block", "DID Ext Block"}));
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock"}));
  EXPECT_TRUE(window.PageArea()->isVisible());
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId), "Custom");
  EXPECT_EQ(LabelText(Dlg::kModifiedMarkId), "");  // a custom image shows no mark

  script.Then(Choose(0, &kinds));
  window.Button(Dlg::kAddBlockId)->click();
  EXPECT_EQ(kinds, QStringList({"EDID CEA Ext Block", "EDID DI Ext Block", "DID Ext Block"}));
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock", "CEA ExtBlock"}));
  EXPECT_EQ(window.PageArea()->currentIndex(), 1);

  // Remove the active CEA block, then the base block.
  QString question;
  script.Then(Answer(QMessageBox::Ok, &question));
  window.Button(Dlg::kRemoveBlockId)->click();
  EXPECT_EQ(question, "Removing \"CEA ExtBlock\"\nAre you sure?");
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock"}));

  script.Then(Answer(QMessageBox::Cancel, &question));
  window.Button(Dlg::kRemoveBlockId)->click();
  EXPECT_EQ(question, "Removing \"EDID1.3 BaseBlock\"\nAre you sure?");
  EXPECT_EQ(window.PageViewCount(), 1);

  script.Then(Answer(QMessageBox::Ok));
  window.Button(Dlg::kRemoveBlockId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(window.PageViewCount(), 0);
  ASSERT_EQ(window.PageArea()->count(), 1);
  EXPECT_EQ(window.PageArea()->widget(0), window.Placeholder());
  EXPECT_FALSE(window.PageArea()->isVisible());
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId), "None");
  EXPECT_FALSE(Enabled(Dlg::kRemoveBlockId));
  EXPECT_FALSE(window.Core().Image().IsModified());
}

TEST_F(MainWindowTest, TheRemovedBlockIsTheSelectedTab) {
  window.OpenCommandLineFile(SamplePath());
  window.PageArea()->setCurrentIndex(1);
  EXPECT_EQ(window.Core().Image().ActiveIndex(), 1);
  QString question;
  ModalScript script{Answer(QMessageBox::Ok, &question)};
  window.Button(Dlg::kRemoveBlockId)->click();
  EXPECT_EQ(question, "Removing \"CEA ExtBlock\"\nAre you sure?");
  EXPECT_EQ(TabCaptions(window), QStringList({"EDID1.3 BaseBlock"}));
  // A file's image that changed shows the mark.
  EXPECT_EQ(LabelText(Dlg::kModifiedMarkId), "[Modified]");
}

TEST_F(MainWindowTest, NamesShowAsPlainTextNeverAsMarkup) {
  const std::string dir = testing::MakeTempDir();
  const std::string name = "<img src=x><b>bold.bin";
  std::filesystem::copy_file(SamplePath(), dir + "/" + name);
  window.OpenCommandLineFile(dir + "/" + name);
  EXPECT_EQ(window.Label(Dlg::kSourceLabelId)->textFormat(), Qt::PlainText);
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId).toStdString(), name + " (Binary File)");

  QString message;
  Qt::TextFormat format = Qt::AutoText;
  ModalScript script{Answer(QMessageBox::Ok, &message, &format)};
  window.OpenCommandLineFile(dir + "/<i>x.odd");
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(message, "Invalid file extension: ODD");
  EXPECT_EQ(format, Qt::PlainText);
  testing::RemoveTree(dir);
}

TEST_F(MainWindowTest, SummaryAndErrorsReportOpenInTheViewer) {
  window.OpenCommandLineFile(SamplePath());
  QString title;
  QString text;
  bool atEnd = false;
  ModalScript script{ReadViewer(&title, &text, &atEnd)};
  window.Button(Dlg::kShowSummaryId)->click();
  EXPECT_EQ(title, "EDID Data Summary");
  // The viewer shows every appended text, in order, with plain line ends.
  ContentCollector expected;
  window.Core().FillContent(&expected, kContentSummary);
  std::string expectedText = expected.Text();
  std::erase(expectedText, '\r');
  EXPECT_EQ(text.toStdString(), expectedText);
  EXPECT_TRUE(text.startsWith("[EDID RAW DATA]\n")) << text.left(100).toStdString();
  EXPECT_TRUE(atEnd);

  script.Then(ReadViewer(&title, &text));
  window.MenuAction("Generate EDID Errors Report")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(title, "EDID Errors Report");
  EXPECT_TRUE(text.startsWith("REPORT  GENERATED: ")) << text.left(100).toStdString();
  EXPECT_TRUE(text.contains("\nVERDICT: ")) << text.toStdString();
  EXPECT_TRUE(text.endsWith("END OF REPORT\n"));
}

TEST_F(MainWindowTest, SavingAsBinaryAddsTheDefaultExtensionAndAsksNothing) {
  window.OpenCommandLineFile(SamplePath());
  const std::string dir = testing::MakeTempDir();
  testing::WriteTextFile(dir + "/copy.bin", "old contents");
  QFileDialog* dialog = nullptr;
  QString suffix;
  bool overwriteAsked = true;
  ModalScript script{[&](QWidget* modal) {
    auto* fileDialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(fileDialog, nullptr);
    dialog = fileDialog;
    suffix = fileDialog->defaultSuffix();
    overwriteAsked = !fileDialog->testOption(QFileDialog::DontConfirmOverwrite);
    EXPECT_EQ(fileDialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(fileDialog->filter() & QDir::CaseSensitive);
    fileDialog->selectFile(QString::fromStdString(dir + "/copy"));
    static_cast<QDialog*>(fileDialog)->accept();
  }};
  window.MenuAction("Save EDID as BIN file")->trigger();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_NE(dialog, nullptr);
  EXPECT_EQ(suffix, "bin");
  EXPECT_FALSE(overwriteAsked);
  const std::vector<uint8_t> saved = testing::ReadBytes(dir + "/copy.bin");
  EXPECT_EQ(saved, testing::ReadBytes(SamplePath()));
  EXPECT_EQ(LabelText(Dlg::kSourceLabelId), "copy.bin (Binary File)");
  testing::RemoveTree(dir);
}

TEST_F(MainWindowTest, EscapeAndEnterNeverCloseTheWindow) {
  window.OpenCommandLineFile(SamplePath());
  window.Core().Image().SetModified();
  BlockPageView* page = window.PageView(0);
  ASSERT_NE(page, nullptr);
  QWidget* targets[] = {&window, window.PageArea(), window.PageArea()->tabBar(), page,
                        page->Button(kLeftItemId), page->Button(kRightActionId + 8)};
  // Enter on a focused "General Info" button opens its editor (Return and
  // Enter, on the button and on the page that passes the keys to it); Escape
  // closes it without writing.
  const auto cancel = [](QWidget* dialog) { testing::PressKey(dialog, Qt::Key_Escape); };
  ModalScript script{cancel, cancel, cancel, cancel};
  for (QWidget* target : targets) {
    target->setFocus();
    testing::PressKey(target, Qt::Key_Escape);
    testing::PressKey(target, Qt::Key_Return);
    testing::PressKey(target, Qt::Key_Enter);
  }
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.PageViewCount(), 2);
  EXPECT_TRUE(window.Core().Image().IsModified());
}

TEST_F(MainWindowTest, ClosingWithUnsavedDataAsksAndCancelKeepsTheWindow) {
  window.OpenCommandLineFile(SamplePath());
  window.Core().Image().SetModified();
  QString question;
  ModalScript script{Answer(QMessageBox::Cancel, &question)};
  EXPECT_FALSE(window.close());
  EXPECT_EQ(question, "All unsaved data will be lost\nAre you sure?");
  EXPECT_TRUE(window.isVisible());

  script.Then(Answer(QMessageBox::Ok));
  EXPECT_TRUE(window.close());
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, ClosingWithoutChangesAsksNothing) {
  window.OpenCommandLineFile(SamplePath());
  EXPECT_TRUE(window.close());
}

}  // namespace
}  // namespace velmar
