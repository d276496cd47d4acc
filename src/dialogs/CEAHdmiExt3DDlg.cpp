#include "dialogs/CEAHdmiExt3DDlg.h"

#include <algorithm>

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kColumns = 2;
constexpr unsigned kModes = 16;
constexpr int kSideBySide = 1;  // the position of "Side-by-Side" in the format list
constexpr uint32_t kMaxDetail = 15;

std::string RowColumn(const char* format, unsigned place) { return Format(format, place / kColumns, place % kColumns); }

}  // namespace

CEAHdmiExt3DDlg::CEAHdmiExt3DDlg(std::string address, HdmiVsdb& copy, const ShortVideoDescriptorList& svds,
                                 unsigned room)
    : EditorForm(std::move(address), "CEA HDMI Short Video Descriptors"), copy_(copy), room_(room), places_(0, 0) {
  storedCount_ = std::min(copy_.detailed3DCount, kPlaces);
  places_ = FrontPlaces(storedCount_, 0);

  // The block's first 16 descriptors; an entry may name a position past the
  // block's list, which then shows as a timing the table does not hold.
  unsigned positions = std::min(svds.count, kModes);
  for (unsigned i = 0; i < storedCount_; ++i) positions = std::max(positions, (copy_.detailed3D[i].vicIndex & 15) + 1);
  std::vector<std::string> modes;
  for (unsigned p = 0; p < positions; ++p) {
    modes.push_back(p < svds.count ? Stereo3DModeLabel(p, svds.entries[p].vic) : std::string("Non-CEA Timing"));
  }

  AddGroup("entries", "", 0, 0);
  InGroup("entries");
  for (unsigned i = 0; i < kPlaces; ++i) {
    const bool used = i < storedCount_;
    const Hdmi3DEntry entry = used ? copy_.detailed3D[i] : Hdmi3DEntry{};
    const int row = static_cast<int>(i / kColumns);
    const int column = static_cast<int>(i % kColumns) * 4;
    const int format =
        used && entry.kind >= k3DKindFramePacking && entry.kind <= k3DKindTopAndBottom
            ? static_cast<int>(entry.kind == k3DKindFramePacking ? 0 : entry.kind == k3DKindSideBySide ? 1 : 2)
            : -1;
    FormField& check = AddCheck(IndexedName("used", i), "", used);
    check.row = row;
    check.column = column;
    FormField& vic = AddList(IndexedName("vic", i), "", modes, used ? static_cast<int>(entry.vicIndex & 15) : -1);
    vic.row = row;
    vic.column = column + 1;
    FormField& kind = AddList(IndexedName("format", i), "", {"Frame Packing", "Side-by-Side", "Top-and-Bottom"}, format);
    kind.row = row;
    kind.column = column + 2;
    FormField& detail = AddEdit(IndexedName("detail", i), "", Format("%u", entry.detail));
    detail.row = row;
    detail.column = column + 3;
    if (used) usedBytes_ += BytesOf(format);
    ShowPlace(i);
  }
  InGroup("");
  Opened();
}

unsigned CEAHdmiExt3DDlg::BytesOf(int formatSelection) const { return formatSelection == kSideBySide ? 2 : 1; }

void CEAHdmiExt3DDlg::ShowPlace(unsigned place) {
  const bool used = place < places_.Used();
  Field(IndexedName("vic", place)).enabled = used;
  Field(IndexedName("format", place)).enabled = used;
  Field(IndexedName("detail", place)).enabled = used && Field(IndexedName("format", place)).selection == kSideBySide;
}

bool CEAHdmiExt3DDlg::OnChanged(FormField& field, const FormField& before) {
  unsigned place = 0;
  if (ParseIndexedName(field.name, "used", place)) {
    if (!places_.Allows(place, field.checked)) return false;
    const unsigned bytes = BytesOf(Field(IndexedName("format", place)).selection);
    if (field.checked) {
      if (usedBytes_ + bytes > room_) return false;
      usedBytes_ += bytes;
    } else {
      usedBytes_ -= std::min(bytes, usedBytes_);
    }
    places_.Take(field.checked);
    ShowPlace(place);
  } else if (ParseIndexedName(field.name, "format", place)) {
    const unsigned now = BytesOf(field.selection);
    const unsigned then = BytesOf(before.selection);
    if (now > then && usedBytes_ + (now - then) > room_) return false;
    usedBytes_ = usedBytes_ + now - then;  // only a used place's list is enabled
    ShowPlace(place);
  }
  return true;
}

std::string CEAHdmiExt3DDlg::Check() {
  for (unsigned i = 0; i < places_.Used(); ++i) {
    if (Field(IndexedName("vic", i)).selection < 0) return RowColumn("Entry[%u:%u]: Invalid VIC Selection", i);
    const std::string format = IndexedName("format", i);
    if (Field(format).selection < 0) return RowColumn("Entry[%u:%u]: Invalid Format Selection", i);
    const std::string detail = IndexedName("detail", i);
    uint32_t value = 0;
    if (Field(format).selection == kSideBySide && (IsNew(i) || FieldChanged(format) || FieldChanged(detail)) &&
        (!ReadDecimal(Field(detail).text, value) || value > kMaxDetail)) {
      return RowColumn("Invalid Detailed Value (Row %u, Col %u) (Valid range is 0 --> 15)", i);
    }
  }
  return {};
}

void CEAHdmiExt3DDlg::Apply() {
  const unsigned used = std::min(places_.Used(), kPlaces);
  for (unsigned i = 0; i < used; ++i) {
    Hdmi3DEntry entry = IsNew(i) ? Hdmi3DEntry{} : copy_.detailed3D[i];
    const std::string vic = IndexedName("vic", i);
    const std::string format = IndexedName("format", i);
    const std::string detail = IndexedName("detail", i);
    if (IsNew(i) || FieldChanged(vic)) entry.vicIndex = static_cast<unsigned>(std::max(Field(vic).selection, 0));
    const int kind = std::max(Field(format).selection, 0);
    if (IsNew(i) || FieldChanged(format)) entry.kind = k3DKindFramePacking + static_cast<unsigned>(kind);
    uint32_t value = 0;
    if (kind == kSideBySide && (IsNew(i) || FieldChanged(format) || FieldChanged(detail)) &&
        ReadDecimal(Field(detail).text, value)) {
      entry.detail = value;
    }
    entry.size = BytesOf(kind);
    copy_.detailed3D[i] = entry;
  }
  copy_.detailed3DCount = used;
  applied_ = true;
}

}  // namespace velmar
