#pragma once

#include <QWidget>
#include <array>

#include "pages/BlockPage.h"

class QGroupBox;
class QPushButton;

namespace velmar {

// One tab of the page area: draws a page's 9x2 button grid with its group
// frames at the template's positions, from the page's grid state, and hands
// clicks and keys back to the page. It keeps no state of its own.
//
// Keys: Escape is consumed (the main window never closes on it); Enter on a
// focused grid button acts like a click (whatever the page wires) and is
// consumed everywhere else too.
class BlockPageView : public QWidget, public PageViewListener {
  Q_OBJECT

 public:
  // The template's size in dialog units.
  static constexpr int kTemplateWidth = 370;
  static constexpr int kTemplateHeight = 205;

  BlockPageView(BlockPage* page, QWidget* parent = nullptr);
  ~BlockPageView() override;

  BlockPage* Page() const { return page_; }
  // Forgets the page (it is being destroyed); the view then shows nothing.
  void Detach();

  // The widget of grid control `id` (buttons 1701-1749, frames 1751-1769), or null.
  QPushButton* Button(int id) const;
  QGroupBox* Frame(int id) const;
  // The grid id of `widget`, or 0.
  int IdOf(const QWidget* widget) const;

  // PageViewListener
  void OnGridChanged() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Render();
  void Layout();

  BlockPage* page_;
  bool windowCreated_ = false;
  // Buttons by slot: left items, right items, left actions, right actions (9 each).
  std::array<QPushButton*, 4 * kGridRows> buttons_{};
  // Frames: left then right (9 each).
  std::array<QGroupBox*, 2 * kGridRows> frames_{};
};

}  // namespace velmar
