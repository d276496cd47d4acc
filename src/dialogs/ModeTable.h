#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Callbacks.h"
#include "common/ModeEntry.h"

namespace velmar {

// How a column of the modes list compares its cells when sorted.
enum class ModeSortType {
  Text,    // ordinal, case-sensitive
  Number,  // the leading decimal integer of each text
  Pair,    // "AxB": the first numbers, then the numbers after the "x"
};

struct ModeColumn {
  const char* heading;
  int width;  // pixels
  ModeSortType sortType;
};

inline constexpr unsigned kModeColumnCount = 21;

// Column positions of the modes list.
enum ModeColumnIndex : unsigned {
  kColumnResolution = 0,
  kColumnRefreshRate = 1,
  kColumnSource = 2,
  kColumnBlock = 3,
  kColumn3DFormat = 4,
  kColumnPixelClock = 5,
  kColumnRepetition = 6,
  kColumnHTotal = 7,
  kColumnVTotal = 8,
  kColumnNative = 9,
  kColumnReducedBlank = 10,
  kColumnHPolarity = 11,
  kColumnVPolarity = 12,
  kColumn3DPolarity = 13,
  kColumn3DExclusive = 14,
  kColumnHBorder = 15,
  kColumnVBorder = 16,
  kColumnHPorch = 17,
  kColumnVPorch = 18,
  kColumnHSync = 19,
  kColumnVSync = 20,
};

// The modes list without its window: one row of 21 cell texts per mode entry
// that the blocks announce, sorted by any column with a stable bubble sort over
// the texts. The Qt dialog and the command line both show this table, so the
// texts and the order are the same everywhere.
class ModeTable : public CallbackFillContentTgt {
 public:
  using Row = std::array<std::string, kModeColumnCount>;

  // The 21 columns, in order.
  static const std::array<ModeColumn, kModeColumnCount>& Columns();

  // The cell texts of one entry; a cell whose field is not present is empty.
  static Row CellTexts(const ModeEntry& entry);
  // "59.94Hz(i)", "60Hz": the Refresh Rate cell of a present rate.
  static std::string RefreshRateText(const ModeEntry& entry);
  static void AssignRefreshRate(std::string& out, const ModeEntry& entry);

  // The leading decimal integer of a text (leading blanks and a sign allowed;
  // 0 without digits). `end`, when given, receives the position where the
  // number stopped (0 when there was none).
  static int64_t LeadingNumber(std::string_view text, size_t* end = nullptr);
  // The difference of two cells by a sort type: negative when `a` sorts
  // before `b`, zero when they are equal, positive otherwise.
  static int64_t CompareCells(ModeSortType type, std::string_view a, std::string_view b);

  // CallbackFillContentTgt: only modes count.
  void SetTitle(const std::string& text) override { (void)text; }
  void Append(const std::string& text) override { (void)text; }
  void AddMode(const ModeEntry& entry) override;

  // What the list does when it opens: empties itself, asks `owner` (if any)
  // for the modes and sorts by resolution, smallest first.
  void Open(CallbackContext* owner);

  // Sorts by `column` in the current direction; rows that compare equal keep
  // their order. A column out of range changes nothing.
  void SortRows(unsigned column);
  // Makes `ascending` the current direction, then sorts.
  void SortRows(unsigned column, bool ascending);
  // A click on a column heading: reverses the direction, then sorts by it.
  void ClickHeading(unsigned column);

  bool SortAscending() const { return sortAscending; }
  void Clear() { rows.clear(); }
  size_t RowCount() const { return rows.size(); }
  const std::vector<Row>& Rows() const { return rows; }
  // Empty text for a position outside the table.
  const std::string& Cell(size_t row, unsigned column) const;

 private:
  // The numbers a Number or Pair column sorts a cell by, first to last.
  static std::pair<int64_t, int64_t> NumberKey(ModeSortType type, std::string_view text);
  // The cells of `entry` into `row` (empty on entry).
  static void FillCells(Row& row, const ModeEntry& entry);

  std::vector<Row> rows;
  // While Open asks for the modes: the entries, before they become rows.
  std::vector<ModeEntry> entries;
  bool collecting = false;
  bool sortAscending = true;
};

}  // namespace velmar
