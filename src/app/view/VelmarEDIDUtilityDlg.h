#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "app/MainWindowCore.h"
#include "app/view/QtUserInterface.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

namespace velmar {

class BlockPageView;
class ElidedLabel;

// The main window: the page area with one tab per block, the source labels,
// the five buttons and the menus. It renders the core's state and hands every
// command to MainWindowCore; it holds no EDID logic of its own.
class VelmarEDIDUtilityDlg : public QMainWindow, public ImageObserver {
  Q_OBJECT

 public:
  // Control ids of the window's template.
  enum ControlId : int {
    kAddBlockId = 1101,
    kRemoveBlockId = 1102,
    kShowModesId = 1103,
    kShowSummaryId = 1104,
    kEditRawDataId = 1105,
    kCurrentCaptionId = 1106,
    kSourceLabelId = 1107,
    kPathCaptionId = 1108,
    kPathLabelId = 1109,
    kModifiedMarkId = 1110,
  };

  explicit VelmarEDIDUtilityDlg(QWidget* parent = nullptr);
  ~VelmarEDIDUtilityDlg() override;

  MainWindowCore& Core() { return core_; }
  QtUserInterface& Ui() { return ui_; }

  // Loads the file named on the command line (a relative name from the
  // current folder); call it once the window is shown (RunWhenShown), so that
  // its messages have a visible parent.
  void OpenCommandLineFile(const std::string& path);
  // Runs `action` once the window is on the screen (the window system has
  // mapped and exposed it), or at once when it already is.
  void RunWhenShown(std::function<void()> action);

  // The window's parts, for tests and tools.
  QTabWidget* PageArea() const { return pageArea_; }
  QWidget* Placeholder() const { return placeholder_; }
  // The view of the block at list position `index`, or null.
  BlockPageView* PageView(int index) const;
  int PageViewCount() const { return static_cast<int>(views_.size()); }
  QLabel* Label(int id) const;
  QPushButton* Button(int id) const;
  // The menu bar's menus ("File", "Edit", "Display", "Misc"), and an item by
  // its text (without the "&" of its mnemonic).
  const std::vector<QMenu*>& Menus() const { return menus_; }
  QAction* MenuAction(const QString& text) const;
  // The line shown in place of the pages while the image is empty.
  QLabel* StartHint() const { return startHint_; }

  // The window's caption: "Velmar EDID Utility v1.1".
  static QString Caption();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ImageObserver
  void OnPageAdded(BlockPage* page) override;
  void OnPageRemoved(BlockPage* page) override;
  void OnActivePageChanged(BlockPage* page) override;
  void OnPageAreaShown(bool shown) override;
  void OnStateChanged() override;

  struct MenuItem {
    const char* text;  // nullptr for a separator
    std::function<void()> command;
    QList<QKeySequence> shortcuts = {};
  };
  void BuildControls();
  void BuildMenus();
  void AddMenu(const char* title, const std::vector<MenuItem>& items);
  void ApplyLabelFont();
  // Runs a command of the user as one undo step.
  void Run(const std::function<void()>& command);
  // Moves the load and save keys to the items of the formats they use now.
  void UpdateFileShortcuts();
  void RunPendingShown();
  void OnTabChanged(int index);
  int IndexOfView(const BlockPage* page) const;

  QtUserInterface ui_;
  MainWindowCore core_;

  QTabWidget* pageArea_ = nullptr;
  QWidget* placeholder_ = nullptr;
  std::vector<BlockPageView*> views_;
  // The tabs are being changed to follow the image: their signals are not the user's.
  bool followingImage_ = false;

  QLabel* currentCaption_ = nullptr;
  ElidedLabel* sourceLabel_ = nullptr;
  QLabel* pathCaption_ = nullptr;
  ElidedLabel* pathLabel_ = nullptr;
  QLabel* modifiedMark_ = nullptr;
  QPushButton* addBlock_ = nullptr;
  QPushButton* removeBlock_ = nullptr;
  QPushButton* showModes_ = nullptr;
  QPushButton* showSummary_ = nullptr;
  QPushButton* editRawData_ = nullptr;
  QLabel* startHint_ = nullptr;
  std::vector<QMenu*> menus_;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  struct FileAction {
    QAction* action;
    SourceKind kind;
    bool save;
  };
  std::vector<FileAction> fileActions_;
  // What waits for the window to be shown.
  std::vector<std::function<void()>> whenShown_;
  bool watchingExpose_ = false;
};

}  // namespace velmar
