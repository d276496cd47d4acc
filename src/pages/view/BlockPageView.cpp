#include "pages/view/BlockPageView.h"

#include <QGroupBox>
#include <QKeyEvent>
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
      connect(button, &QPushButton::clicked, this, [this, id] {
        if (page_ != nullptr) page_->PressButton(id);
      });
      buttons_[static_cast<size_t>(kind * kGridRows + row)] = button;
    }
  }
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
}

void BlockPageView::Layout() {
  // The template is scaled to the room the page area gives the page, and the
  // text is made small enough to fit the scaled buttons.
  const int width = qMax(this->width(), 1);
  const int height = qMax(this->height(), 1);
  const DialogUnits units(width * 4 / kTemplateWidth, height * 8 / kTemplateHeight);
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
      if (id != 0 && page_ != nullptr) page_->PressEnter(id);
      return;
    }
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace velmar
