#include "dialogs/GridNavigator.h"

#include <algorithm>

#include "common/Callbacks.h"

namespace velmar {

GridNavigator::CellState* GridNavigator::MarkCell(int row, int column) {
  if (row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns) return nullptr;
  if (static_cast<size_t>(row) >= cellStates.size()) cellStates.resize(static_cast<size_t>(row) + 1);
  std::vector<CellState>& states = cellStates[static_cast<size_t>(row)];
  if (static_cast<size_t>(column) >= states.size()) states.resize(static_cast<size_t>(column) + 1);
  rowCount = std::max(rowCount, row + 1);
  columnCount = std::max(columnCount, column + 1);
  navigationEnabled = true;
  return &states[static_cast<size_t>(column)];
}

const GridNavigator::CellState* GridNavigator::FindCell(int row, int column) const {
  if (!InBounds(row, column) || static_cast<size_t>(row) >= cellStates.size()) return nullptr;
  const std::vector<CellState>& states = cellStates[static_cast<size_t>(row)];
  if (static_cast<size_t>(column) >= states.size()) return nullptr;
  return &states[static_cast<size_t>(column)];
}

void GridNavigator::SetCellEditable(int row, int column) {
  if (CellState* state = MarkCell(row, column)) {
    state->editable = 1;
    state->selectable = 1;
  }
}

void GridNavigator::SetCellSelectable(int row, int column) {
  if (CellState* state = MarkCell(row, column)) state->selectable = 1;
}

bool GridNavigator::IsCellEditable(int row, int column) const {
  const CellState* state = FindCell(row, column);
  return state != nullptr && state->editable != 0;
}

bool GridNavigator::IsCellSelectable(int row, int column) const {
  const CellState* state = FindCell(row, column);
  return state != nullptr && state->selectable != 0;
}

bool GridNavigator::InBounds(int row, int column) const {
  return row >= 0 && column >= 0 && row < rowCount && column < columnCount;
}

bool GridNavigator::Qualifies(int row, int column) const {
  return editing ? IsCellEditable(row, column) : IsCellSelectable(row, column);
}

bool GridNavigator::SelectCell(int row, int column) {
  if (!IsCellSelectable(row, column)) return false;
  const bool changed = row != currentRow || column != currentColumn;
  // The editor belongs over the current cell: it never stays behind.
  if (changed) EndEdit(true);
  if (changed && currentRow >= 0 && currentColumn >= 0 && view != nullptr) view->RepaintCell(currentRow, currentColumn);
  currentRow = row;
  currentColumn = column;
  if (view != nullptr) {
    view->EnsureCellVisible(row, column);
    view->RepaintCell(row, column);
  }
  if (changed && notifyTarget != nullptr) notifyTarget->OnCellSelected(row, column);
  return true;
}

bool GridNavigator::BeginEdit() {
  if (editing || !IsCellEditable(currentRow, currentColumn)) return false;
  // Scrolled into view before the edit starts: a scroll commits any edit, and
  // must not commit this one before it has begun.
  if (view != nullptr) view->EnsureCellVisible(currentRow, currentColumn);
  editing = true;
  if (view != nullptr) view->ShowEditor(currentRow, currentColumn);
  return true;
}

void GridNavigator::EndEdit(bool commit) {
  if (!editing) return;
  // Cleared first: hiding the editor moves the focus, and whatever that
  // triggers must see the edit as finished.
  editing = false;
  if (view != nullptr) view->HideEditor(currentRow, currentColumn, commit);
}

void GridNavigator::StartAt(int row, int column) {
  EndEdit(true);
  MoveTo(row, column, +1, NavigationMode::ReadingOrder);
}

void GridNavigator::StepReadingOrder(int& row, int& column, int step) const {
  column += step;
  if (column < 0) {
    column = columnCount - 1;
    --row;
  } else if (column >= columnCount) {
    column = 0;
    ++row;
  }
  if (row < 0) {
    row = rowCount - 1;
  } else if (row >= rowCount) {
    row = 0;
  }
}

bool GridNavigator::Navigate(int step, NavigationMode mode) {
  if (!navigationEnabled) return false;
  int row = std::max(currentRow, 0);
  int column = std::max(currentColumn, 0);
  switch (mode) {
    case NavigationMode::Vertical:
      row = std::clamp(row + step, 0, rowCount - 1);
      break;
    case NavigationMode::Horizontal:
      column = std::clamp(column + step, 0, columnCount - 1);
      break;
    case NavigationMode::ReadingOrder:
      StepReadingOrder(row, column, step);
      break;
    case NavigationMode::Home:
      row = 0;
      column = 0;
      step = +1;
      mode = NavigationMode::ReadingOrder;
      break;
    case NavigationMode::End:
      row = rowCount - 1;
      column = columnCount - 1;
      step = -1;
      mode = NavigationMode::ReadingOrder;
      break;
  }
  MoveTo(row, column, step, mode);
  return true;
}

void GridNavigator::MoveTo(int row, int column, int step, NavigationMode mode) {
  // A start outside the grid could never come back to itself in reading order.
  if (!InBounds(row, column)) return;
  if (mode == NavigationMode::Home || mode == NavigationMode::End) mode = NavigationMode::ReadingOrder;
  int r = row;
  int c = column;
  for (;;) {
    if (Qualifies(r, c)) {
      Found(r, c);
      return;
    }
    if (step == 0) return;
    switch (mode) {
      case NavigationMode::Vertical:
        r += step;
        break;
      case NavigationMode::Horizontal:
        c += step;
        break;
      default:
        StepReadingOrder(r, c, step > 0 ? 1 : -1);
        if (r == row && c == column) return;
        break;
    }
    if (!InBounds(r, c)) return;
  }
}

void GridNavigator::Found(int row, int column) {
  if (!editing) {
    SelectCell(row, column);
    return;
  }
  EndEdit(true);
  SelectCell(row, column);
  BeginEdit();
}

bool GridNavigator::HandleKey(GridKey key, bool shift) {
  switch (key) {
    case GridKey::Escape:
      if (!editing) return false;
      EndEdit(false);
      SelectCell(currentRow, currentColumn);
      return true;
    case GridKey::Enter:
      if (editing) {
        EndEdit(true);
        SelectCell(currentRow, currentColumn);
      } else {
        BeginEdit();
      }
      return true;
    case GridKey::Tab:
      return editing && Navigate(shift ? -1 : +1, NavigationMode::ReadingOrder);
    case GridKey::Other:
      return false;
    default:
      break;
  }
  // While editing, the arrows, Home and End move the caret in the editor
  // unless Shift is held.
  if (editing && !shift) return false;
  switch (key) {
    case GridKey::End:
      return Navigate(0, NavigationMode::End);
    case GridKey::Home:
      return Navigate(0, NavigationMode::Home);
    case GridKey::Left:
      return Navigate(-1, NavigationMode::Horizontal);
    case GridKey::Up:
      return Navigate(-1, NavigationMode::Vertical);
    case GridKey::Right:
      return Navigate(+1, NavigationMode::Horizontal);
    case GridKey::Down:
      return Navigate(+1, NavigationMode::Vertical);
    default:
      return false;
  }
}

void GridNavigator::Click(int row, int column) {
  EndEdit(true);
  SelectCell(row, column);
}

void GridNavigator::DoubleClick(int row, int column) {
  EndEdit(true);
  if (SelectCell(row, column)) BeginEdit();
}

}  // namespace velmar
