// The desktop program as a user meets it: the windows' exact titles, the
// keyboard, undo and redo, texts that fit, and messages over the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/view/EditRawDataDlg.h"
#include "app/view/ElidedLabel.h"
#include "app/view/GenericContentDlg.h"
#include "app/view/GenericSelectDlg.h"
#include "app/view/VelmarEDIDUtility.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "dialogs/view/EditListCtrl.h"
#include "dialogs/view/ModeListDlg.h"
#include "gui/QtTestSupport.h"
#include "gui/WindowScript.h"
#include "pages/EdidBaseBlockPage.h"
#include "pages/view/BlockPageView.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Dlg = VelmarEDIDUtilityDlg;
using testing::Answer;
using testing::Choose;
using testing::ModalScript;

std::string SamplePath() { return std::string(VELMAR_TEST_DATA_DIR) + "/../../samples/samsung-odyssey-g60sd.bin"; }

class UserFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    // Shortcuts reach only the active window.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void TearDown() override { window.Core().Image().ClearModified(); }
  // A key as the keyboard sends it to the focused widget, shortcuts first.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // A dialog that just closed may have left no window active.
    if (QApplication::activeWindow() != &window) {
      window.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }
  const std::array<uint8_t, 512>& Bytes() { return window.Core().Image().rawData; }
  QString Mark() const { return window.Label(Dlg::kModifiedMarkId)->text(); }

  QApplication* app = testing::EnsureQtApp();
  Dlg window;
};

TEST_F(UserFlowTest, EveryWindowShowsItsCaptionAndNothingMore) {
  // The window system appends the application's display name to every title
  // when one is set: the program sets none.
  VelmarEDIDUtility::SetUpApplication();
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
  EXPECT_EQ(window.windowTitle(), "Velmar EDID Utility v1.1");
  window.OpenCommandLineFile(SamplePath());

  ModalScript script;
  const auto close = [](QWidget* modal) { testing::PressKey(modal, Qt::Key_Escape); };
  script.Then(close).Then(close).Then(close).Then(close);
  window.Button(Dlg::kShowSummaryId)->click();
  window.Button(Dlg::kShowModesId)->click();
  window.Button(Dlg::kEditRawDataId)->click();
  window.MenuAction("Generate EDID Errors Report")->trigger();
  script.Then(Choose(-1));
  window.Button(Dlg::kAddBlockId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(script.Titles(), std::vector<QString>({"EDID Data Summary", "View Modes & Timings Reported by EDID",
                                                   "View and Edit Raw Data", "EDID Errors Report",
                                                   "Select Extension Block to create"}));
}

TEST_F(UserFlowTest, MenusHaveMnemonicsAndTheEditMenuStandsSecond) {
  QStringList titles;
  for (QMenu* menu : window.Menus()) titles << menu->title();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Display", "&Misc"}));
  QStringList edit;
  for (QAction* action : window.Menus()[1]->actions()) edit << action->text();
  EXPECT_EQ(edit, QStringList({"&Undo", "&Redo"}));
  QAction* quit = window.Menus()[0]->actions().last();
  EXPECT_EQ(quit->text(), "&Quit");
  EXPECT_TRUE(window.Menus()[0]->actions().at(window.Menus()[0]->actions().size() - 2)->isSeparator());
  EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(UserFlowTest, AltLetterAndF10OpenTheMenus) {
  Key(Qt::Key_F, Qt::AltModifier);
  EXPECT_TRUE(window.Menus()[0]->isVisible());
  window.Menus()[0]->close();
  Key(Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(window.Menus()[3]->isVisible());
  window.Menus()[3]->close();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  Key(Qt::Key_F10);
  EXPECT_EQ(window.menuBar()->activeAction(), window.Menus()[0]->menuAction());
  window.Menus()[0]->close();
}

TEST_F(UserFlowTest, CtrlQAsksBeforeQuittingWithUnsavedChanges) {
  window.OpenCommandLineFile(SamplePath());
  window.Core().Image().SetModified();
  QString question;
  ModalScript script{Answer(QMessageBox::Cancel, &question)};
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(question, "All unsaved data will be lost\nAre you sure?");
  EXPECT_TRUE(window.isVisible());
  window.Core().Image().ClearModified();
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(UserFlowTest, CtrlOAndCtrlSOpenTheDialogsOfTheFormatsLastUsedInTheFilesFolder) {
  // Nothing loaded yet: binary, the first format the menu offers after text.
  EXPECT_EQ(window.MenuAction("Load EDID from BIN file")->shortcut(), QKeySequence(QKeySequence::Open));
  EXPECT_EQ(window.MenuAction("Save EDID as BIN file")->shortcut(), QKeySequence(QKeySequence::Save));
  window.OpenCommandLineFile(SamplePath());
  const QString folder = QString::fromStdString(std::filesystem::path(SamplePath()).parent_path().string());

  QFileDialog* seen = nullptr;
  QString suffix;
  QString offered;
  QString openedIn;
  ModalScript script{[&](QWidget* modal) {
    seen = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(seen, nullptr);
    suffix = seen->defaultSuffix();
    openedIn = seen->directory().absolutePath();
    offered = seen->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    seen->reject();
  }};
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(suffix, "bin");
  EXPECT_EQ(openedIn, QDir(folder).absolutePath());
  EXPECT_EQ(offered, "samsung-odyssey-g60sd.bin");

  // After a save to text the keys save to text; loading stays binary.
  script.Then(testing::PickFile(""));
  window.MenuAction("Save EDID as TXT file")->trigger();
  EXPECT_EQ(window.MenuAction("Save EDID as TXT file")->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(window.MenuAction("Save EDID as BIN file")->shortcut(), QKeySequence());
  script.Then([&](QWidget* modal) {
    seen = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(seen, nullptr);
    suffix = seen->defaultSuffix();
    offered = seen->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    seen->reject();
  });
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(suffix, "txt");
  EXPECT_EQ(offered, "samsung-odyssey-g60sd.txt");
  script.Then(testing::PickFile(""));
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(window.MenuAction("Load EDID from BIN file")->shortcut(), QKeySequence(QKeySequence::Open));
}

TEST_F(UserFlowTest, UndoAndRedoKeysWalkASequenceOfEditsAndTheMarkFollowsTheSavedState) {
  window.OpenCommandLineFile(SamplePath());
  EXPECT_FALSE(window.MenuAction("Undo")->isEnabled());
  std::vector<std::array<uint8_t, 512>> states = {Bytes()};
  // A descriptor removed through its page button, a block added, a byte
  // changed in the raw data editor.
  BlockPageView* view = window.PageView(0);
  ASSERT_NE(view, nullptr);
  ModalScript script{Answer(QMessageBox::Ok)};
  view->Button(kLeftActionId + EdidBaseBlockPage::kFirstSlotRow + 3)->click();
  states.push_back(Bytes());
  script.Then(Choose(1));  // a DI extension
  window.Button(Dlg::kAddBlockId)->click();
  states.push_back(Bytes());
  script.Then([](QWidget* modal) {
    auto* dlg = qobject_cast<EditRawDataDlg*>(modal);
    ASSERT_NE(dlg, nullptr);
    dlg->Grid()->SelectCell(1, 2);
    dlg->Grid()->SetItemText(1, 2, QStringLiteral("5a"));
    dlg->GetOkButton()->click();
  });
  window.Button(Dlg::kEditRawDataId)->click();
  EXPECT_EQ(script.Remaining(), 0u);
  states.push_back(Bytes());
  for (size_t i = 1; i < states.size(); ++i) ASSERT_NE(states[i], states[i - 1]) << i;
  EXPECT_TRUE(window.MenuAction("Undo")->isEnabled());
  EXPECT_EQ(Mark(), "[Modified]");

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Bytes(), states[2]);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Bytes(), states[1]);
  EXPECT_EQ(window.PageViewCount(), 2);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Bytes(), states[0]);
  EXPECT_EQ(Mark(), "");  // back at the loaded file
  EXPECT_FALSE(window.MenuAction("Undo")->isEnabled());
  EXPECT_FALSE(window.Core().Image().IsModified());
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Bytes(), states[1]);
  EXPECT_EQ(Mark(), "[Modified]");
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Bytes(), states[2]);
  EXPECT_EQ(window.PageViewCount(), 3);
  window.MenuAction("Redo")->trigger();
  EXPECT_EQ(Bytes(), states[3]);
  EXPECT_FALSE(window.MenuAction("Redo")->isEnabled());
  // A page's button after an undo still edits the page shown.
  Key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_NE(window.PageView(0), nullptr);
  EXPECT_EQ(window.PageView(0)->Button(kLeftActionId + EdidBaseBlockPage::kFirstSlotRow + 3)->text(),
            "Add Descriptor");
}

TEST_F(UserFlowTest, TheEmptyWindowSaysHowToStart) {
  EXPECT_TRUE(window.StartHint()->isVisible());
  EXPECT_EQ(window.StartHint()->text(), "Load an EDID from the File menu, or create one with Add Block.");
  window.OpenCommandLineFile(SamplePath());
  EXPECT_FALSE(window.StartHint()->isVisible());
}

TEST_F(UserFlowTest, ACommandLineNameFromTheCurrentFolderShowsTheWholeFolder) {
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path samples = std::filesystem::path(SamplePath()).parent_path();
  std::filesystem::current_path(samples);
  const std::filesystem::path here = std::filesystem::current_path();
  window.OpenCommandLineFile("samsung-odyssey-g60sd.bin");
  std::filesystem::current_path(previous);
  EXPECT_EQ(window.Label(Dlg::kSourceLabelId)->text(), "samsung-odyssey-g60sd.bin (Binary File)");
  EXPECT_EQ(window.Label(Dlg::kPathLabelId)->text().toStdString(), here.string());
}

TEST_F(UserFlowTest, LongNamesAreElidedInTheMiddleWithTheWholeTextAsTooltip) {
  const std::string folder = testing::MakeTempDir() + "/" + std::string(200, 'w') + "/deeper";
  std::filesystem::create_directories(folder);
  const std::string file = folder + "/" + std::string(120, 'n') + ".bin";
  std::filesystem::copy_file(SamplePath(), file);
  window.OpenCommandLineFile(file);
  auto* source = static_cast<ElidedLabel*>(window.Label(Dlg::kSourceLabelId));
  auto* path = static_cast<ElidedLabel*>(window.Label(Dlg::kPathLabelId));
  EXPECT_EQ(source->text().toStdString(), std::string(120, 'n') + ".bin (Binary File)");
  ASSERT_TRUE(source->IsElided());
  EXPECT_TRUE(source->ShownText().endsWith("(Binary File)"));
  EXPECT_TRUE(source->ShownText().startsWith("nnn"));
  EXPECT_EQ(source->toolTip(), source->text());
  ASSERT_TRUE(path->IsElided());
  EXPECT_TRUE(path->ShownText().endsWith("/deeper"));
  EXPECT_EQ(path->toolTip().toStdString(), folder);
  window.OpenCommandLineFile(SamplePath());
  EXPECT_FALSE(source->IsElided());
  EXPECT_EQ(source->toolTip(), "");
  testing::RemoveTree(std::filesystem::path(folder).parent_path().parent_path().string());
}

TEST_F(UserFlowTest, AfterRemoveTheFocusStaysOnThePage) {
  window.OpenCommandLineFile(SamplePath());
  window.PageArea()->setCurrentIndex(1);
  BlockPageView* view = window.PageView(1);
  ASSERT_NE(view, nullptr);
  QPushButton* remove = view->Button(kLeftActionId + 1);
  ASSERT_EQ(remove->text(), "Remove");  // the first detailed timing
  remove->setFocus();
  ModalScript script{Answer(QMessageBox::Ok)};
  Key(Qt::Key_Space);
  EXPECT_EQ(script.Remaining(), 0u);
  // The window's focus, which it gets back as soon as it is active again.
  ASSERT_NE(window.focusWidget(), nullptr);
  EXPECT_TRUE(view->isAncestorOf(window.focusWidget())) << window.focusWidget()->objectName().toStdString();
}

TEST_F(UserFlowTest, ADisplayIdPageShowsNoButtonsButALineSayingSo) {
  ModalScript script{Choose(2)};  // DID Base Block
  window.Button(Dlg::kAddBlockId)->click();
  ASSERT_EQ(script.Remaining(), 0u);
  BlockPageView* view = window.PageView(0);
  ASSERT_NE(view, nullptr);
  for (QPushButton* button : view->findChildren<QPushButton*>()) EXPECT_FALSE(button->isVisible());
  for (QGroupBox* frame : view->findChildren<QGroupBox*>()) EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(view->NoteLabel()->isVisible());
  EXPECT_EQ(view->NoteLabel()->text(), "This block has no editable sections.");
}

TEST_F(UserFlowTest, AnAllZeroDescriptorSlotOffersToAddOne) {
  std::string file;
  unsigned zeroSlot = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    for (unsigned slot = 0; slot < 4 && file.empty() && bytes.size() >= 128; ++slot) {
      const auto begin = bytes.begin() + 54 + 18 * slot;
      if (std::all_of(begin, begin + 18, [](uint8_t b) { return b == 0; })) {
        file = path;
        zeroSlot = slot;
      }
    }
  }
  ASSERT_FALSE(file.empty());
  window.OpenCommandLineFile(file);
  const int row = EdidBaseBlockPage::kFirstSlotRow + static_cast<int>(zeroSlot);
  EXPECT_EQ(window.PageView(0)->Button(kLeftActionId + row)->text(), "Add Descriptor");
  EXPECT_EQ(window.PageView(0)->Button(kLeftItemId + row)->text(), "");
}

TEST(CommandLineFileTest, LoadsOnceTheWindowIsShownAndItsMessagesSitOverIt) {
  testing::EnsureQtApp();
  const std::string folder = testing::MakeTempDir();
  const std::string empty = folder + "/empty.bin";
  testing::WriteTextFile(empty, "\x77");  // no block starts so
  Dlg window;
  QWidget* parent = nullptr;
  bool exposed = false;
  ModalScript script{[&](QWidget* modal) {
    parent = modal->parentWidget();
    exposed = window.windowHandle() != nullptr && window.windowHandle()->isExposed();
    static_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  }};
  bool ran = false;
  window.show();
  window.RunWhenShown([&] {
    ran = true;
    window.OpenCommandLineFile(empty);
  });
  EXPECT_FALSE(ran);  // not before the window is on the screen
  for (int turn = 0; turn < 200 && script.Remaining() > 0; ++turn) QApplication::processEvents();
  EXPECT_TRUE(ran);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(parent, &window);
  EXPECT_TRUE(exposed);
  testing::RemoveTree(folder);
}

// The fonts the same 9-point text gets at 96 and at 144 dots per inch.
class FontSizes : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    testing::EnsureQtApp();
    saved = QApplication::font();
    QFont font = saved;
    font.setPixelSize(GetParam());
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved); }
  QFont saved;
};

TEST_P(FontSizes, EveryModesListCellFitsItsColumnAndTheSortArrowShows) {
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  const std::vector<uint8_t> bytes = testing::ReadBytes(SamplePath());
  std::copy(bytes.begin(), bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), 512)),
            image.rawData.begin());
  image.Rebuild();
  ModeListDlg dlg(nullptr, &image);
  dlg.show();
  const QTableView* table = dlg.Table();
  const QAbstractItemModel* model = table->model();
  ASSERT_GT(model->rowCount(), 10);
  // The text area of a cell is its width less the grid line and the
  // delegate's margins on both sides.
  const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
  const QFontMetrics metrics(table->font());
  bool sawVic = false;
  for (int column = 0; column < model->columnCount(); ++column) {
    const int room = table->columnWidth(column) - 1 - 2 * margin;
    EXPECT_GE(table->columnWidth(column), ModeTable::Columns()[static_cast<size_t>(column)].width);
    for (int row = 0; row < model->rowCount(); ++row) {
      const QString text = model->data(model->index(row, column)).toString();
      sawVic = sawVic || text.startsWith("CEA-SVD VIC[");
      EXPECT_LE(metrics.horizontalAdvance(text), room) << text.toStdString() << " in column " << column;
    }
  }
  EXPECT_TRUE(sawVic);
  const QHeaderView* header = table->horizontalHeader();
  EXPECT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  dlg.ClickHeading(2);
  EXPECT_EQ(header->sortIndicatorSection(), 2);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  for (int column = 0; column < model->columnCount(); ++column) {
    EXPECT_GE(table->columnWidth(column), header->sectionSizeHint(column)) << column;
  }
}

TEST_P(FontSizes, EveryRawEditorLabelAndByteFitsAndEveryColumnShows) {
  testing::ScriptedUserInterface ui;
  std::array<uint8_t, 512> bytes{};
  for (unsigned i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  EditRawDataDlg dlg(nullptr, &ui, nullptr, bytes.data(), 512);
  dlg.show();
  const EditListCtrl* grid = dlg.Grid();
  const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
  const QFontMetrics metrics(grid->font());
  int total = 0;
  for (int column = 0; column < 17; ++column) {
    const int room = grid->columnWidth(column) - 1 - 2 * margin;
    for (int row = 0; row < 32; ++row) {
      EXPECT_LE(metrics.horizontalAdvance(grid->GetItemText(row, column)), room)
          << grid->GetItemText(row, column).toStdString();
    }
    total += grid->columnWidth(column);
  }
  EXPECT_LE(total, grid->viewport()->width());
  EXPECT_EQ(grid->columnWidth(1), grid->columnWidth(16));
}

INSTANTIATE_TEST_SUITE_P(At96And144Dpi, FontSizes, ::testing::Values(12, 18));

}  // namespace
}  // namespace velmar
