#include "app/view/VelmarEDIDUtilityDlg.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <system_error>

#include "app/view/ElidedLabel.h"
#include "app/view/LabelFont.h"
#include "app/view/QtText.h"
#include "dialogs/view/DialogUnits.h"
#include "pages/BlockPage.h"
#include "pages/view/BlockPageView.h"
#include "app/ImageFiles.h"
#include "storage/FileFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

// The template's size in dialog units.
constexpr int kWindowWidth = 339;
constexpr int kWindowHeight = 255;
// The page area sits 10 pixels in from the top left corner and ends above the
// source frame at 190 units.
constexpr int kPageAreaMargin = 10;
constexpr int kPageAreaBottom = 188;
// How long the command-line file waits for the window system to show the
// window before it is loaded anyway.
constexpr int kShownTimeoutMs = 3000;

// A small monitor showing a test pattern, drawn at `size` pixels.
QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 16.0;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x30, 0x36, 0x40));
  painter.drawRoundedRect(QRectF(0.5 * s, 1.5 * s, 15 * s, 10.5 * s), 1 * s, 1 * s);
  painter.drawRect(QRectF(7 * s, 12 * s, 2 * s, 2 * s));
  painter.drawRect(QRectF(4 * s, 14 * s, 8 * s, 1.2 * s));
  const QColor bars[4] = {QColor(0xE5, 0x39, 0x35), QColor(0x43, 0xA0, 0x47), QColor(0x1E, 0x88, 0xE5),
                          QColor(0xFD, 0xD8, 0x35)};
  for (int i = 0; i < 4; ++i) {
    painter.setBrush(bars[i]);
    painter.drawRect(QRectF((1.5 + 3.25 * i) * s, 2.5 * s, 3.25 * s, 8.5 * s));
  }
  return pixmap;
}

QIcon WindowIcon() {
  QIcon icon;
  icon.addPixmap(DrawIcon(16));  // the small icon
  icon.addPixmap(DrawIcon(32));  // the big icon
  return icon;
}

template <typename Label = QLabel>
Label* MakeLabel(QWidget* parent, const char* text, const QRect& area, Qt::Alignment alignment, int id) {
  auto* label = new Label(QString::fromLatin1(text), parent);
  label->setObjectName(QStringLiteral("label%1").arg(id));
  // File, display and EDID names are shown as they are, never as markup.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setGeometry(area);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* text, const QRect& area, int id) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QStringLiteral("button%1").arg(id));
  // Enter on a focused button clicks it, as in the pages.
  button->setAutoDefault(true);
  button->setGeometry(area);
  return button;
}

}  // namespace

QString VelmarEDIDUtilityDlg::Caption() {
  return QString::fromStdString(Format("%s v%s", "Velmar EDID Utility", VELMAR_VERSION_TEXT));
}

VelmarEDIDUtilityDlg::VelmarEDIDUtilityDlg(QWidget* parent) : QMainWindow(parent), ui_(this), core_(ui_) {
  setWindowTitle(Caption());
  setWindowIcon(WindowIcon());
  BuildControls();
  ApplyLabelFont();
  BuildMenus();
  // A dialog-like window: its size is the template's.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  core_.Image().SetObserver(this);
  core_.Initialize();
}

VelmarEDIDUtilityDlg::~VelmarEDIDUtilityDlg() {
  // The views go first: they point at pages the core is about to destroy.
  core_.Image().SetObserver(nullptr);
  for (BlockPageView* view : views_) {
    view->Detach();
    delete view;
  }
  views_.clear();
}

void VelmarEDIDUtilityDlg::BuildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  const DialogUnits units(font());
  central->setFixedSize(units.Size(kWindowWidth, kWindowHeight));

  auto* sourceFrame = new QGroupBox(central);
  sourceFrame->setGeometry(units.Rect(5, 190, 330, 25));
  auto* buttonFrame = new QGroupBox(central);
  buttonFrame->setGeometry(units.Rect(5, 212, 330, 28));

  currentCaption_ =
      MakeLabel(central, "Current EDID:", units.Rect(10, 195, 45, 8), Qt::AlignRight, kCurrentCaptionId);
  pathCaption_ = MakeLabel(central, "Path:", units.Rect(10, 205, 45, 8), Qt::AlignRight, kPathCaptionId);
  sourceLabel_ =
      MakeLabel<ElidedLabel>(central, "None", units.Rect(60, 195, 220, 8), Qt::AlignLeft, kSourceLabelId);
  pathLabel_ = MakeLabel<ElidedLabel>(central, "None", units.Rect(60, 205, 270, 8), Qt::AlignLeft, kPathLabelId);
  modifiedMark_ = MakeLabel(central, "[Modified]", units.Rect(290, 195, 40, 8), Qt::AlignRight, kModifiedMarkId);

  // The captions are right aligned; where the window's font is wider than the
  // template's, they grow to the left, up to the frame.
  const int needed = currentCaption_->fontMetrics().horizontalAdvance(currentCaption_->text()) + 2;
  const int right = currentCaption_->geometry().right();
  const int left = qMax(units.X(7), qMin(currentCaption_->x(), right + 1 - needed));
  for (QLabel* caption : {currentCaption_, pathCaption_}) {
    caption->setGeometry(left, caption->y(), right + 1 - left, caption->height());
  }

  addBlock_ = MakeButton(central, "Add Block", units.Rect(10, 220, 60, 15), kAddBlockId);
  removeBlock_ = MakeButton(central, "Remove Block", units.Rect(75, 220, 60, 15), kRemoveBlockId);
  showModes_ = MakeButton(central, "Show Modes", units.Rect(140, 220, 60, 15), kShowModesId);
  showSummary_ = MakeButton(central, "Show Summary", units.Rect(205, 220, 60, 15), kShowSummaryId);
  editRawData_ = MakeButton(central, "Edit Raw Data", units.Rect(270, 220, 60, 15), kEditRawDataId);
  connect(addBlock_, &QPushButton::clicked, this, [this] { Run([this] { core_.AddBlock(); }); });
  connect(removeBlock_, &QPushButton::clicked, this, [this] { Run([this] { core_.RemoveBlock(); }); });
  connect(showModes_, &QPushButton::clicked, this, [this] { Run([this] { core_.ShowModes(); }); });
  connect(showSummary_, &QPushButton::clicked, this, [this] { Run([this] { core_.ShowSummary(); }); });
  connect(editRawData_, &QPushButton::clicked, this, [this] { Run([this] { core_.EditRawData(); }); });

  // The page area, created visible with its empty placeholder page, then hidden
  // until the image has a block.
  pageArea_ = new QTabWidget(central);
  pageArea_->setObjectName(QStringLiteral("pageArea"));
  pageArea_->move(kPageAreaMargin, kPageAreaMargin);
  pageArea_->resize(units.X(kWindowWidth) - 2 * kPageAreaMargin, units.Y(kPageAreaBottom) - kPageAreaMargin);
  placeholder_ = new QWidget;
  placeholder_->setObjectName(QStringLiteral("placeholderPage"));
  pageArea_->addTab(placeholder_, QString());
  pageArea_->hide();
  connect(pageArea_, &QTabWidget::currentChanged, this, &VelmarEDIDUtilityDlg::OnTabChanged);

  // In place of the pages while there are none: how to begin.
  startHint_ = new QLabel(QStringLiteral("Load an EDID from the File menu, or create one with Add Block."), central);
  startHint_->setObjectName(QStringLiteral("startHint"));
  startHint_->setAlignment(Qt::AlignCenter);
  startHint_->setWordWrap(true);
  startHint_->setGeometry(pageArea_->geometry());
}

void VelmarEDIDUtilityDlg::Run(const std::function<void()>& command) {
  core_.Perform(command);
  UpdateFileShortcuts();
}

void VelmarEDIDUtilityDlg::UpdateFileShortcuts() {
  // Ctrl+O and Ctrl+S sit on the items of the formats last used, where the menu shows them.
  const SourceKind load = core_.ShortcutLoadKind();
  const SourceKind save = core_.ShortcutSaveKind();
  for (const FileAction& item : fileActions_) {
    if (item.action == nullptr) continue;
    const bool chosen = item.kind == (item.save ? save : load);
    item.action->setShortcut(!chosen ? QKeySequence() : QKeySequence(item.save ? QKeySequence::Save : QKeySequence::Open));
  }
}

void VelmarEDIDUtilityDlg::ApplyLabelFont() {
  std::vector<std::string> families;
  for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
  const std::optional<LabelFace> face = ChooseLabelFace(families);
  if (!face) return;
  QFont labelFont(font());
  labelFont.setFamily(QString::fromStdString(face->face));
  // The face is asked for at the window font's height with the given average
  // character width; the stretch brings the face's own width to it.
  const int natural = QFontMetrics(labelFont).averageCharWidth();
  if (natural > 0) labelFont.setStretch(qBound(50, face->width * 100 / natural, 200));
  sourceLabel_->setFont(labelFont);
  pathLabel_->setFont(labelFont);
}

void VelmarEDIDUtilityDlg::AddMenu(const char* title, const std::vector<MenuItem>& items) {
  QMenu* menu = menuBar()->addMenu(QString::fromLatin1(title));
  for (const MenuItem& item : items) {
    if (item.text == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromLatin1(item.text));
    action->setShortcuts(item.shortcuts);
    if (item.command) {
      const std::function<void()> command = item.command;
      connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    }
  }
  menus_.push_back(menu);
}

void VelmarEDIDUtilityDlg::BuildMenus() {
  // The menus' mnemonics (Alt+F, Alt+E, Alt+D, Alt+M) and F10 reach every
  // item from the keyboard; the items keep their texts. The File menu: a load
  // and a save command per file format, a rule between formats, then Quit.
  std::vector<MenuItem> fileItems;
  for (const FileFormat& format : FileFormats()) {
    if (!fileItems.empty()) fileItems.push_back({nullptr, nullptr});
    const SourceKind kind = format.kind;
    fileItems.push_back({format.loadCommand, [this, kind] { core_.LoadFile(kind); }});
    fileItems.push_back({format.saveCommand, [this, kind] { core_.SaveFile(kind); }});
  }
  fileItems.push_back({nullptr, nullptr});
  fileItems.push_back({"&Quit", [this] { close(); }, {QKeySequence(Qt::CTRL | Qt::Key_Q)}});
  AddMenu("&File", fileItems);
  for (const FileFormat& format : FileFormats()) {
    fileActions_.push_back({MenuAction(QString::fromLatin1(format.loadCommand)), format.kind, false});
    fileActions_.push_back({MenuAction(QString::fromLatin1(format.saveCommand)), format.kind, true});
  }
  UpdateFileShortcuts();
  AddMenu("&Edit", {
                       {"&Undo", [this] { core_.Undo(); }, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
                       {"&Redo",
                        [this] { core_.Redo(); },
                        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
                   });
  undoAction_ = menus_.back()->actions().value(0);
  redoAction_ = menus_.back()->actions().value(1);
  AddMenu("&Display", {
                         {"Read EDID from display", [this] { core_.ReadEdidFromDisplay(); }},
                         {"Override display EDID", [this] { core_.OverrideDisplayEdid(); }},
                         {"Remove display EDID override", [this] { core_.RemoveDisplayOverride(); }},
                         {"Install boot-time EDID override", [this] { core_.InstallBootOverride(); }},
                         {"Remove boot-time EDID override", [this] { core_.RemoveBootOverride(); }},
                         {"Check boot-time EDID override", [this] { core_.CheckBootOverride(); }},
                         {nullptr, nullptr},
                         {"Read Emulated EDID from registry", [this] { core_.ReadEmulatedEdidFromRegistry(); }},
                         {"Override Emulated EDID registry", [this] { core_.OverrideEmulatedEdidRegistry(); }},
                         {"Delete Emulated EDID registry", [this] { core_.DeleteEmulatedEdidRegistry(); }},
                         {nullptr, nullptr},
                         {"Reinit Graphics Adapter Info", [this] { core_.ReinitGraphicsAdapterInfo(); }},
                         {"Show Graphics Adapters init log", [this] { core_.ShowGraphicsAdaptersInitLog(); }},
                     });
  AddMenu("&Misc", {
                       {"Generate EDID Errors Report", [this] { core_.GenerateErrorsReport(); }},
                   });

  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(f10, &QShortcut::activated, this, [this] {
    if (!menus_.empty()) menuBar()->setActiveAction(menus_.front()->menuAction());
  });
}

void VelmarEDIDUtilityDlg::OpenCommandLineFile(const std::string& path) {
  // The path label shows the file's whole folder, also for a name given from
  // the current folder. Symbolic links stay as they were named.
  std::error_code error;
  const std::filesystem::path absolute =
      path.empty() ? std::filesystem::path() : std::filesystem::absolute(path, error);
  const std::string file = error || absolute.empty() ? path : absolute.string();
  Run([this, file] { OpenFileFromCommandLine(core_.Image(), file); });
}

void VelmarEDIDUtilityDlg::RunWhenShown(std::function<void()> action) {
  whenShown_.push_back(std::move(action));
  QWindow* handle = windowHandle();
  if (handle != nullptr && handle->isExposed()) {
    QTimer::singleShot(0, this, [this] { RunPendingShown(); });
    return;
  }
  if (handle != nullptr && !watchingExpose_) {
    watchingExpose_ = true;
    handle->installEventFilter(this);
  }
  // A window the window system never shows (started minimized, say) still gets its file.
  QTimer::singleShot(kShownTimeoutMs, this, [this] { RunPendingShown(); });
}

void VelmarEDIDUtilityDlg::RunPendingShown() {
  if (watchingExpose_ && windowHandle() != nullptr) windowHandle()->removeEventFilter(this);
  watchingExpose_ = false;
  std::vector<std::function<void()>> actions;
  actions.swap(whenShown_);
  for (const auto& action : actions) action();
}

bool VelmarEDIDUtilityDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watchingExpose_ && watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    // After this expose has been painted.
    QTimer::singleShot(0, this, [this] { RunPendingShown(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

BlockPageView* VelmarEDIDUtilityDlg::PageView(int index) const {
  return index >= 0 && index < static_cast<int>(views_.size()) ? views_[static_cast<size_t>(index)] : nullptr;
}

QLabel* VelmarEDIDUtilityDlg::Label(int id) const {
  switch (id) {
    case kCurrentCaptionId:
      return currentCaption_;
    case kSourceLabelId:
      return sourceLabel_;
    case kPathCaptionId:
      return pathCaption_;
    case kPathLabelId:
      return pathLabel_;
    case kModifiedMarkId:
      return modifiedMark_;
    default:
      return nullptr;
  }
}

QPushButton* VelmarEDIDUtilityDlg::Button(int id) const {
  switch (id) {
    case kAddBlockId:
      return addBlock_;
    case kRemoveBlockId:
      return removeBlock_;
    case kShowModesId:
      return showModes_;
    case kShowSummaryId:
      return showSummary_;
    case kEditRawDataId:
      return editRawData_;
    default:
      return nullptr;
  }
}

QAction* VelmarEDIDUtilityDlg::MenuAction(const QString& text) const {
  for (QMenu* menu : menus_) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && QString(action->text()).remove(QLatin1Char('&')) == text) return action;
    }
  }
  return nullptr;
}

int VelmarEDIDUtilityDlg::IndexOfView(const BlockPage* page) const {
  for (size_t i = 0; i < views_.size(); ++i) {
    if (page != nullptr && views_[i]->Page() == page) return static_cast<int>(i);
  }
  return -1;
}

void VelmarEDIDUtilityDlg::OnPageAdded(BlockPage* page) {
  followingImage_ = true;
  if (views_.empty()) pageArea_->removeTab(pageArea_->indexOf(placeholder_));
  auto* view = new BlockPageView(page);
  view->SetActionRunner([this](const std::function<void()>& action) { Run(action); });
  views_.push_back(view);
  pageArea_->addTab(view, QString::fromStdString(page->GetTitle()));
  followingImage_ = false;
}

void VelmarEDIDUtilityDlg::OnPageRemoved(BlockPage* page) {
  const int index = IndexOfView(page);
  if (index < 0) return;
  followingImage_ = true;
  BlockPageView* view = views_[static_cast<size_t>(index)];
  view->Detach();
  pageArea_->removeTab(pageArea_->indexOf(view));
  views_.erase(views_.begin() + index);
  // The removal may come from inside one of the view's own handlers.
  view->hide();
  view->deleteLater();
  if (views_.empty()) pageArea_->addTab(placeholder_, QString());
  followingImage_ = false;
}

void VelmarEDIDUtilityDlg::OnActivePageChanged(BlockPage* page) {
  const int index = IndexOfView(page);
  if (index < 0) return;
  followingImage_ = true;
  pageArea_->setCurrentWidget(views_[static_cast<size_t>(index)]);
  followingImage_ = false;
}

void VelmarEDIDUtilityDlg::OnPageAreaShown(bool shown) {
  pageArea_->setVisible(shown);
  startHint_->setVisible(!shown);
}

void VelmarEDIDUtilityDlg::OnTabChanged(int index) {
  if (followingImage_ || index < 0) return;
  const QWidget* shown = pageArea_->widget(index);
  for (size_t i = 0; i < views_.size(); ++i) {
    if (views_[i] == shown) core_.Image().SetActivePage(static_cast<int>(i));
  }
}

void VelmarEDIDUtilityDlg::OnStateChanged() {
  const SourceLabels& labels = core_.Image().Labels();
  sourceLabel_->SetFullText(FromCoreText(labels.source));
  pathCaption_->setText(FromCoreText(labels.pathCaption));
  pathLabel_->SetFullText(FromCoreText(labels.path));
  modifiedMark_->setText(FromCoreText(labels.modifiedMark));
  const BlockButtons& buttons = core_.Image().Buttons();
  addBlock_->setEnabled(buttons.addBlock);
  removeBlock_->setEnabled(buttons.removeBlock);
  showModes_->setEnabled(buttons.showModes);
  if (undoAction_ != nullptr) undoAction_->setEnabled(core_.Image().CanUndo());
  if (redoAction_ != nullptr) redoAction_->setEnabled(core_.Image().CanRedo());
  UpdateFileShortcuts();
}

void VelmarEDIDUtilityDlg::closeEvent(QCloseEvent* event) {
  if (!core_.ConfirmDiscard()) {
    event->ignore();
    return;
  }
  event->accept();
}

void VelmarEDIDUtilityDlg::keyPressEvent(QKeyEvent* event) {
  // The window is the program: neither key may end it.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return) {
    event->accept();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace velmar
