#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "pages/BlockPage.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace velmar {

// One tab of the page area: draws a page's 9x2 button grid with its group
// frames at the template's positions, from the page's grid state, and hands
// clicks and keys back to the page. It keeps no state of its own.
//
// Keys: Escape is consumed (the main window never closes on it); Enter on a
// focused grid button acts like a click (whatever the page wires) and is
// consumed everywhere else too. After a button's action the focus stays on
// the page: on that button, or on the nearest one still there.
//
// The page's note is a line below the grid, or the page's only text when it
// shows no control.
class BlockPageView : public QWidget, public PageViewListener {
  Q_OBJECT

 public:
  // The template's size in dialog units.
  static constexpr int kTemplateWidth = 370;
  static constexpr int kTemplateHeight = 205;

  BlockPageView(BlockPage* page, QWidget* parent = nullptr);
  ~BlockPageView() override;

  BlockPage* Page() const { return page_; }
  // Runs every button's action (a click or Enter); without one the view runs
  // them itself. The main window makes each one an undo step.
  using ActionRunner = std::function<void(const std::function<void()>&)>;
  void SetActionRunner(ActionRunner runner) { runner_ = std::move(runner); }
  // Forgets the page (it is being destroyed); the view then shows nothing.
  void Detach();

  // The widget of grid control `id` (buttons 1701-1749, frames 1751-1769), or null.
  QPushButton* Button(int id) const;
  QGroupBox* Frame(int id) const;
  QLabel* NoteLabel() const { return note_; }
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
  // Runs the action of button `id` and keeps the focus on the page.
  void RunButton(int id, bool enter);
  // The button to take the focus after button `id` went away: `id` itself
  // when it is still there, else the nearest one in its column, else any.
  QPushButton* FocusAfter(int id) const;
  bool AnyControlVisible() const;

  BlockPage* page_;
  bool windowCreated_ = false;
  // Buttons by slot: left items, right items, left actions, right actions (9 each).
  std::array<QPushButton*, 4 * kGridRows> buttons_{};
  // Frames: left then right (9 each).
  std::array<QGroupBox*, 2 * kGridRows> frames_{};
  QLabel* note_ = nullptr;
  ActionRunner runner_;
};

}  // namespace velmar
