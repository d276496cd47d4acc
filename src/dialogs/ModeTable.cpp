#include "dialogs/ModeTable.h"

#include <algorithm>
#include <bitset>
#include <iterator>
#include <utility>
#include <vector>

#include "util/Format.h"

namespace velmar {

namespace {

// Parsed numbers saturate here, so the difference of any two stays in range
// and every "%u" value keeps its own place.
constexpr int64_t kNumberLimit = 1000000000000000000;  // 10^18

bool Has(const ModeEntry& entry, uint32_t bit) { return (entry.present & bit) != 0; }
bool Flag(const ModeEntry& entry, uint32_t bit) { return (entry.flags & bit) != 0; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Cell texts that repeat from row to row and list to list, each formatted the
// first time it is asked for. One per thread, so no lock is needed.
template <size_t N>
class TextCache {
 public:
  // The text at `index`, made by `make` into an empty string the first time.
  template <typename Make>
  const std::string& Get(size_t index, Make make) {
    if (!made_[index]) {
      make(texts_[index]);
      made_[index] = true;
    }
    return texts_[index];
  }

 private:
  std::array<std::string, N> texts_;
  std::bitset<N> made_;
};

void AssignSource(std::string& out, const ModeEntry& entry) {
  static const char* const kTexts[] = {"Undef%s",   "Detailed%s", "Established%s", "Standard%s",
                                       "CEA-SVD%s", "CEA-VSDB%s", "CVT-3Byte%s"};
  constexpr size_t kSources = std::size(kTexts);
  const auto value = static_cast<uint32_t>(entry.source);
  if (value >= kSources) {
    out.clear();
    return;
  }
  const bool withVic = Has(entry, kPresentVic);
  const auto make = [&](std::string& text) {
    const std::string vic = withVic ? Format(" VIC[%u]", entry.vic) : std::string();
    AssignFormat(text, kTexts[value], vic.c_str());
  };
  // Per source: without a VIC, then VICs 0 to 255.
  constexpr size_t kPerSource = 257;
  if (withVic && entry.vic > 255) {
    make(out);
    return;
  }
  thread_local TextCache<kSources * kPerSource> cache;
  out = cache.Get(value * kPerSource + (withVic ? 1 + entry.vic : 0), make);
}

std::string BlockKindText(ModeBlockKind kind) {
  const auto value = static_cast<uint32_t>(kind);
  switch (kind) {
    case ModeBlockKind::Undefined: return "Undef";
    case ModeBlockKind::EdidBase: return "EDID Base";
    case ModeBlockKind::EdidDescriptor0:
    case ModeBlockKind::EdidDescriptor1:
    case ModeBlockKind::EdidDescriptor2:
    case ModeBlockKind::EdidDescriptor3: {
      static const FormatTable kDescriptors("EDID(B) Desc%u", 4);
      std::string text;
      kDescriptors.Assign(text, value - 2);
      return text;
    }
    case ModeBlockKind::DisplayIdBase: return "DID Base";
    case ModeBlockKind::CeaExtension: return "CEA(E)";
    case ModeBlockKind::DiExtension: return "DI(E)";
    case ModeBlockKind::DisplayIdExtension: return "DID(E)";
  }
  return std::string();
}

std::string Format3DText(Stereo3DFormat format) {
  switch (format) {
    case Stereo3DFormat::None2D: return "2D";
    case Stereo3DFormat::FrameAlternate: return "FrameAlternate";
    case Stereo3DFormat::Interleaved: return "Interleaved";
    case Stereo3DFormat::FramePacking: return "FramePacking";
    case Stereo3DFormat::SideBySide: return "SideBySide";
    case Stereo3DFormat::TopBottom: return "TopBottom";
  }
  return std::string();
}

void AssignNumber(std::string& out, uint32_t value) { AssignFormat(out, "%u", value); }
void AssignPair(std::string& out, uint32_t first, uint32_t second) { AssignFormat(out, "%ux%u", first, second); }

}  // namespace

const std::array<ModeColumn, kModeColumnCount>& ModeTable::Columns() {
  static const std::array<ModeColumn, kModeColumnCount> kColumns = {{
      {"Resolution", 80, ModeSortType::Pair},
      {"Refresh Rate", 90, ModeSortType::Number},
      {"Source", 90, ModeSortType::Text},
      {"Block", 110, ModeSortType::Text},
      {"3D Format", 105, ModeSortType::Text},
      {"PixelClock", 80, ModeSortType::Number},
      {"Repetition", 73, ModeSortType::Text},
      {"HTotal", 55, ModeSortType::Number},
      {"VTotal", 55, ModeSortType::Number},
      {"Native", 55, ModeSortType::Text},
      {"ReducedBlank", 90, ModeSortType::Text},
      {"HPolarity", 70, ModeSortType::Text},
      {"VPolarity", 70, ModeSortType::Text},
      {"3D Polarity", 80, ModeSortType::Text},
      {"3D Exclusive", 80, ModeSortType::Text},
      {"HBorder", 65, ModeSortType::Pair},
      {"VBorder", 65, ModeSortType::Pair},
      {"HPorch", 60, ModeSortType::Number},
      {"VPorch", 60, ModeSortType::Number},
      {"HSync", 50, ModeSortType::Number},
      {"VSync", 50, ModeSortType::Number},
  }};
  return kColumns;
}

std::string ModeTable::RefreshRateText(const ModeEntry& entry) {
  std::string text;
  AssignRefreshRate(text, entry);
  return text;
}

void ModeTable::AssignRefreshRate(std::string& out, const ModeEntry& entry) {
  const bool interlaced = entry.interlaced != 0;
  const bool fractional = entry.fractional != 0;
  const auto make = [&](std::string& text) {
    const char* interlace = interlaced ? "(i)" : "";
    if (fractional) {
      AssignFormat(text, "%.2fHz%s", entry.refreshHz * 1000.0 / 1001.0, interlace);
    } else {
      AssignFormat(text, "%uHz%s", entry.refreshHz, interlace);
    }
  };
  // The same few rates repeat in every list.
  constexpr unsigned kCachedRates = 512;
  if (entry.refreshHz >= kCachedRates) {
    make(out);
    return;
  }
  thread_local TextCache<kCachedRates * 4> cache;
  out = cache.Get(entry.refreshHz * 4 + (interlaced ? 2 : 0) + (fractional ? 1 : 0), make);
}

ModeTable::Row ModeTable::CellTexts(const ModeEntry& entry) {
  Row row;
  FillCells(row, entry);
  return row;
}

void ModeTable::FillCells(Row& row, const ModeEntry& e) {
  if (Has(e, kPresentHActive) || Has(e, kPresentVActive)) AssignPair(row[kColumnResolution], e.hActive, e.vActive);
  if (Has(e, kPresentRefresh)) AssignRefreshRate(row[kColumnRefreshRate], e);
  if (Has(e, kPresentSource)) AssignSource(row[kColumnSource], e);
  if (Has(e, kPresentBlockKind)) row[kColumnBlock] = BlockKindText(e.blockKind);
  if (Has(e, kPresentFormat3D)) row[kColumn3DFormat] = Format3DText(e.format3D);
  if (Has(e, kPresentPixelClock)) AssignFormat(row[kColumnPixelClock], "%uKHz", e.pixelClockKHz);
  if (Has(e, kPresentRepetition)) AssignNumber(row[kColumnRepetition], e.repetition);
  if (Has(e, kPresentHTotal)) AssignNumber(row[kColumnHTotal], e.hTotal);
  if (Has(e, kPresentVTotal)) AssignNumber(row[kColumnVTotal], e.vTotal);
  if (Has(e, kPresentNative) && Flag(e, kModeFlagNative)) row[kColumnNative] = "yes";
  if (Has(e, kPresentReducedBlanking) && Flag(e, kModeFlagReducedBlanking)) row[kColumnReducedBlank] = "yes";
  if (Has(e, kPresentHPolarity)) row[kColumnHPolarity] = Flag(e, kModeFlagHSyncPositive) ? "positive" : "negative";
  if (Has(e, kPresentVPolarity)) row[kColumnVPolarity] = Flag(e, kModeFlagVSyncPositive) ? "positive" : "negative";
  if (Has(e, kPresent3DPolarity)) {
    row[kColumn3DPolarity] = Flag(e, kModeFlag3DRightEyeFirst) ? "right eye" : "left eye";
  }
  if (Has(e, kPresent3DOnly) && Flag(e, kModeFlag3DOnly)) row[kColumn3DExclusive] = "yes";
  // A border on the far side alone is still worth showing, even when the
  // filler did not mark the near side as present.
  if (Has(e, kPresentHBorderLeft) || e.hBorderRight != 0) AssignPair(row[kColumnHBorder], e.hBorderLeft, e.hBorderRight);
  if (Has(e, kPresentVBorderTop) || e.vBorderBottom != 0) AssignPair(row[kColumnVBorder], e.vBorderTop, e.vBorderBottom);
  if (Has(e, kPresentHFrontPorch)) AssignNumber(row[kColumnHPorch], e.hFrontPorch);
  if (Has(e, kPresentVFrontPorch)) AssignNumber(row[kColumnVPorch], e.vFrontPorch);
  if (Has(e, kPresentHSync)) AssignNumber(row[kColumnHSync], e.hSync);
  if (Has(e, kPresentVSync)) AssignNumber(row[kColumnVSync], e.vSync);
}

int64_t ModeTable::LeadingNumber(std::string_view text, size_t* end) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t digitsStart = i;
  int64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    const int64_t digit = text[i] - '0';
    value = value > (kNumberLimit - digit) / 10 ? kNumberLimit : value * 10 + digit;
    ++i;
  }
  const bool any = i > digitsStart;
  if (end != nullptr) *end = any ? i : 0;
  return negative ? -value : value;
}

int64_t ModeTable::CompareCells(ModeSortType type, std::string_view a, std::string_view b) {
  switch (type) {
    case ModeSortType::Text: {
      const int order = a.compare(b);
      return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    case ModeSortType::Number:
      return LeadingNumber(a) - LeadingNumber(b);
    case ModeSortType::Pair: {
      size_t endA = 0;
      size_t endB = 0;
      const int64_t firstA = LeadingNumber(a, &endA);
      const int64_t firstB = LeadingNumber(b, &endB);
      if (firstA != firstB) return firstA - firstB;
      // The second number exists only behind the "x" that ends the first.
      auto second = [](std::string_view text, size_t stop) -> int64_t {
        if (stop >= text.size() || text[stop] != 'x') return 0;
        return LeadingNumber(text.substr(stop + 1));
      };
      return second(a, endA) - second(b, endB);
    }
  }
  return 0;
}

std::pair<int64_t, int64_t> ModeTable::NumberKey(ModeSortType type, std::string_view text) {
  size_t end = 0;
  const int64_t first = LeadingNumber(text, &end);
  if (type != ModeSortType::Pair || end >= text.size() || text[end] != 'x') return {first, 0};
  return {first, LeadingNumber(text.substr(end + 1))};
}

void ModeTable::AddMode(const ModeEntry& entry) {
  if (collecting) {
    entries.push_back(entry);
    return;
  }
  // Filled in place: a row is 21 texts.
  rows.emplace_back();
  FillCells(rows.back(), entry);
}

void ModeTable::Open(CallbackContext* owner) {
  rows.clear();
  entries.clear();
  sortAscending = true;
  if (owner != nullptr) {
    collecting = true;
    owner->FillContent(this, kContentModes);
    collecting = false;
  }
  // The entries are put in the order of the Resolution column before their
  // texts are made, so that no row of texts has to move: a cell "AxB" sorts
  // by A, then B, and an empty one as 0x0.
  std::vector<std::pair<std::pair<int64_t, int64_t>, size_t>> order(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const ModeEntry& e = entries[i];
    const bool shown = Has(e, kPresentHActive) || Has(e, kPresentVActive);
    order[i] = {shown ? std::pair<int64_t, int64_t>(e.hActive, e.vActive) : std::pair<int64_t, int64_t>(0, 0), i};
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  rows.resize(order.size());
  for (size_t i = 0; i < order.size(); ++i) FillCells(rows[i], entries[order[i].second]);
}

void ModeTable::SortRows(unsigned column) {
  if (column >= kModeColumnCount || rows.size() < 2) return;
  const ModeSortType type = Columns()[column].sortType;
  // A stable sort of the row positions: the order a stable bubble sort gives,
  // with rows that compare equal in their order, but without moving whole
  // rows more than once.
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (type == ModeSortType::Text) {
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      const int64_t d = CompareCells(type, rows[a][column], rows[b][column]);
      return sortAscending ? d < 0 : d > 0;
    });
  } else {
    // The numbers of each cell are read once, not at every comparison; they
    // order the rows exactly as CompareCells does.
    std::vector<std::pair<int64_t, int64_t>> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) keys[i] = NumberKey(type, rows[i][column]);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return sortAscending ? keys[a] < keys[b] : keys[b] < keys[a];
    });
  }
  // Rows move along the cycles of the permutation, each once.
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    Row held = std::move(rows[start]);
    size_t at = start;
    while (order[at] != start) {
      rows[at] = std::move(rows[order[at]]);
      const size_t next = order[at];
      order[at] = at;
      at = next;
    }
    rows[at] = std::move(held);
    order[at] = at;
  }
}

void ModeTable::SortRows(unsigned column, bool ascending) {
  sortAscending = ascending;
  SortRows(column);
}

void ModeTable::ClickHeading(unsigned column) {
  if (column >= kModeColumnCount) return;
  sortAscending = !sortAscending;
  SortRows(column);
}

const std::string& ModeTable::Cell(size_t row, unsigned column) const {
  static const std::string kEmpty;
  if (row >= rows.size() || column >= kModeColumnCount) return kEmpty;
  return rows[row][column];
}

}  // namespace velmar
