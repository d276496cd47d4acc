#include "pages/view/BlockPageView.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "dialogs/view/DialogUnits.h"

namespace velmar {

namespace {

constexpr int kButtonBases[4] = {kLeftItemId, kRightItemId, kLeftActionId, kRightActionId};
constexpr int kFrameBases[2] = {kLeftFrameId, kRightFrameId};

// Template geometry of a row's controls in dialog units: x and width (the
// y of buttons is 12 + 21 r with height 15; of frames 5 + 21 r, height 26).
struct Column {
  int x;
  int width;
};
constexpr Column kButtonColumns[4] = {{4, 120}, {243, 120}, {126, 55}, {186, 55}};
constexpr Column kFrameColumns[2] = {{2, 182}, {184, 182}};
// The grid ends at 199 units; a note takes a line below it.
constexpr int kNoteTop = 201;
constexpr int kNoteHeight = 9;

// Button texts are shown as they are: an "&" in a block's text is not a shortcut.
QString ButtonText(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace(QLatin1Char('&'), QLatin1String("&&"));
  return result;
}

}  // namespace

BlockPageView::BlockPageView(BlockPage* page, QWidget* parent) : QWidget(parent), page_(page) {
  // Frames first, so that they lie below the buttons.
  for (int side = 0; side < 2; ++side) {
    for (int row = 0; row < kGridRows; ++row) {
      auto* frame = new QGroupBox(this);
      frame->setObjectName(QStringLiteral("frame%1").arg(kFrameBases[side] + row));
      frames_[static_cast<size_t>(side * kGridRows + row)] = frame;
    }
  }
  for (int kind = 0; kind < 4; ++kind) {
    for (int row = 0; row < kGridRows; ++row) {
      const int id = kButtonBases[kind] + row;
      auto* button = new QPushButton(this);
      button->setObjectName(QStringLiteral("button%1").arg(id));
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, id] { RunButton(id, false); });
      buttons_[static_cast<size_t>(kind * kGridRows + row)] = button;
    }
  }
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("pageNote"));
  note_->setTextFormat(Qt::PlainText);
  note_->setWordWrap(true);
  note_->hide();
  if (page_ != nullptr) page_->SetViewListener(this);
  Layout();
  Render();
}

BlockPageView::~BlockPageView() { Detach(); }

void BlockPageView::Detach() {
  if (page_ != nullptr) page_->SetViewListener(nullptr);
  page_ = nullptr;
  Render();
}

QPushButton* BlockPageView::Button(int id) const {
  for (int kind = 0; kind < 4; ++kind) {
    if (id >= kButtonBases[kind] && id < kButtonBases[kind] + kGridRows) {
      return buttons_[static_cast<size_t>(kind * kGridRows + id - kButtonBases[kind])];
    }
  }
  return nullptr;
}

QGroupBox* BlockPageView::Frame(int id) const {
  for (int side = 0; side < 2; ++side) {
    if (id >= kFrameBases[side] && id < kFrameBases[side] + kGridRows) {
      return frames_[static_cast<size_t>(side * kGridRows + id - kFrameBases[side])];
    }
  }
  return nullptr;
}

int BlockPageView::IdOf(const QWidget* widget) const {
  if (widget == nullptr) return 0;
  for (int kind = 0; kind < 4; ++kind) {
    for (int row = 0; row < kGridRows; ++row) {
      if (buttons_[static_cast<size_t>(kind * kGridRows + row)] == widget) return kButtonBases[kind] + row;
    }
  }
  return 0;
}

void BlockPageView::OnGridChanged() { Render(); }

void BlockPageView::Render() {
  static const GridControlState kBlank{std::string(), false, true};
  for (int kind = 0; kind < 4; ++kind) {
    for (int row = 0; row < kGridRows; ++row) {
      const int id = kButtonBases[kind] + row;
      const GridControlState& state = page_ != nullptr ? page_->Control(id) : kBlank;
      QPushButton* button = buttons_[static_cast<size_t>(kind * kGridRows + row)];
      button->setText(ButtonText(state.text));
      button->setEnabled(state.enabled);
      button->setVisible(state.visible);
    }
  }
  for (int side = 0; side < 2; ++side) {
    for (int row = 0; row < kGridRows; ++row) {
      const int id = kFrameBases[side] + row;
      const GridControlState& state = page_ != nullptr ? page_->Control(id) : kBlank;
      frames_[static_cast<size_t>(side * kGridRows + row)]->setVisible(state.visible);
    }
  }
  const QString note = page_ != nullptr ? QString::fromStdString(page_->Note()) : QString();
  const bool placeChanged = note_->text().isEmpty() != note.isEmpty() ||
                            (!note.isEmpty() && (note_->alignment() == Qt::AlignCenter) != !AnyControlVisible());
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
  if (placeChanged) Layout();
}

bool BlockPageView::AnyControlVisible() const {
  if (page_ == nullptr) return true;
  for (int id : kButtonBases) {
    for (int row = 0; row < kGridRows; ++row) {
      if (page_->Control(id + row).visible) return true;
    }
  }
  return false;
}

void BlockPageView::RunButton(int id, bool enter) {
  if (page_ == nullptr) return;
  // The page may clear its grid (and so every button) while it rebuilds it,
  // which sends the focus out of the page; it comes back once the action is done.
  // The window's own focus widget: a question asked on the way leaves the
  // window inactive for a moment, and the focus comes back there.
  const bool hadFocus = isAncestorOf(window()->focusWidget());
  const auto action = [this, id, enter] {
    if (page_ == nullptr) return;
    if (enter) {
      page_->PressEnter(id);
    } else {
      page_->PressButton(id);
    }
  };
  if (runner_) {
    runner_(action);
  } else {
    action();
  }
  if (!hadFocus || !isVisible() || isAncestorOf(window()->focusWidget())) return;
  if (QPushButton* next = FocusAfter(id)) {
    next->setFocus(Qt::OtherFocusReason);
  } else {
    setFocus(Qt::OtherFocusReason);
  }
}

QPushButton* BlockPageView::FocusAfter(int id) const {
  const auto usable = [](const QPushButton* button) {
    return button != nullptr && button->isEnabled() && button->isVisibleTo(button->parentWidget());
  };
  QPushButton* same = Button(id);
  if (usable(same)) return same;
  for (int kind = 0; kind < 4; ++kind) {
    const int base = kButtonBases[kind];
    if (id < base || id >= base + kGridRows) continue;
    // The rows above first: a removed row's neighbour above is still there.
    for (int distance = 1; distance < kGridRows; ++distance) {
      for (int row : {id - base - distance, id - base + distance}) {
        if (row >= 0 && row < kGridRows && usable(Button(base + row))) return Button(base + row);
      }
    }
  }
  for (QPushButton* button : buttons_) {
    if (usable(button)) return button;
  }
  return nullptr;
}

void BlockPageView::Layout() {
  // The template is scaled to the room the page area gives the page, and the
  // text is made small enough to fit the scaled buttons.
  const int width = qMax(this->width(), 1);
  const int height = qMax(this->height(), 1);
  // A note below the grid makes the template a line taller.
  const bool noteBelow = !note_->text().isEmpty() && AnyControlVisible();
  const int templateHeight = noteBelow ? kNoteTop + kNoteHeight : kTemplateHeight;
  const DialogUnits units(width * 4 / kTemplateWidth, height * 8 / templateHeight);
  QFont textFont = parentWidget() != nullptr ? parentWidget()->font() : font();
  for (int step = 0; step < 40; ++step) {
    const DialogUnits fontUnits(textFont);
    if (fontUnits.BaseX() <= units.BaseX() && fontUnits.BaseY() <= units.BaseY()) break;
    if (textFont.pointSizeF() > 0) {
      if (textFont.pointSizeF() <= 6) break;
      textFont.setPointSizeF(textFont.pointSizeF() - 0.5);
    } else {
      if (textFont.pixelSize() <= 8) break;
      textFont.setPixelSize(textFont.pixelSize() - 1);
    }
  }
  if (textFont != font()) setFont(textFont);

  for (int kind = 0; kind < 4; ++kind) {
    for (int row = 0; row < kGridRows; ++row) {
      const Column column = kButtonColumns[kind];
      buttons_[static_cast<size_t>(kind * kGridRows + row)]->setGeometry(
          units.Rect(column.x, 12 + 21 * row, column.width, 15));
    }
  }
  for (int side = 0; side < 2; ++side) {
    for (int row = 0; row < kGridRows; ++row) {
      const Column column = kFrameColumns[side];
      frames_[static_cast<size_t>(side * kGridRows + row)]->setGeometry(
          units.Rect(column.x, 5 + 21 * row, column.width, 26));
    }
  }
  if (noteBelow) {
    note_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    note_->setGeometry(units.Rect(4, kNoteTop, kTemplateWidth - 8, kNoteHeight));
  } else {
    // The page's only text, in the middle of it.
    note_->setAlignment(Qt::AlignCenter);
    note_->setGeometry(rect().adjusted(units.X(4), 0, -units.X(4), 0));
  }
}

void BlockPageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void BlockPageView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A page builds its grid when its window first comes up.
  if (!windowCreated_ && page_ != nullptr) {
    windowCreated_ = true;
    page_->OnWindowCreated();
  }
}

void BlockPageView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      event->accept();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return: {
      event->accept();
      const int id = IdOf(focusWidget());
      if (id != 0) RunButton(id, true);
      return;
    }
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace velmar
