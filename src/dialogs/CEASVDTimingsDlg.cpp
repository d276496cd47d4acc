#include "dialogs/CEASVDTimingsDlg.h"

#include <algorithm>

#include "blocks/VideoFormatTable.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kTableFormats = VideoFormatTable::kLastVic;

std::string PlaceItem(unsigned place) {
  return Format("Timing at Row[%u] Col[%u]", place / CEASVDTimingsDlg::kColumns, place % CEASVDTimingsDlg::kColumns);
}

}  // namespace

CEASVDTimingsDlg::CEASVDTimingsDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Short Video Descriptors"),
      model_(model),
      index_(index),
      places_(0, 1) {
  model_.GetVideoDataBlock(index_, stored_);
  const unsigned count = std::min(stored_.count, kMaxShortVideoDescriptors);
  const unsigned capacity = std::min(stored_.capacity, kMaxShortVideoDescriptors);
  places_ = FrontPlaces(count, 1);

  std::vector<std::string> formats;
  for (unsigned vic = 1; vic <= kTableFormats; ++vic) formats.push_back(VideoFormatItem(vic));
  for (unsigned c = 0; c < kColumns; ++c) AddGroup(Format("column%u", c), "", 0, static_cast<int>(c));
  AddGroup("native-format", "", 1, 0, static_cast<int>(kColumns));

  std::vector<std::string> natives = {"None"};
  int nativeSelection = 0;
  for (unsigned i = 0; i < kPlaces; ++i) {
    InGroup(Format("column%u", i % kColumns));
    const bool used = i < count;
    std::vector<std::string> items = formats;
    int selection = -1;
    if (used) {
      const ShortVideoDescriptor& svd = stored_.entries[i];
      if (VideoFormatTable::Find(svd.vic) != nullptr && HasNativeFlag(svd)) {
        selection = static_cast<int>(svd.vic) - 1;
      } else {
        items.push_back(NonCeaTimingItem(DescriptorVic(svd)));
        selection = static_cast<int>(kTableFormats);
      }
      natives.push_back(PlaceItem(i));
      if (nativeSelection == 0 && svd.native && HasNativeFlag(svd)) nativeSelection = static_cast<int>(i) + 1;
    }
    FormField& check = AddCheck(IndexedName("used", i), "", used);
    check.row = static_cast<int>(i / kColumns);
    check.column = 0;
    check.enabled = i < capacity;
    FormField& list = AddList(IndexedName("vic", i), "", std::move(items), selection);
    list.row = check.row;
    list.column = 1;
    list.enabled = used;
  }
  InGroup("native-format");
  AddList("native", "Select Native Format:", std::move(natives), nativeSelection);
  InGroup("");
  Opened();
}

bool CEASVDTimingsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  unsigned place = 0;
  if (ParseIndexedName(field.name, "used", place)) {
    if (!places_.Allows(place, field.checked)) return false;
    places_.Take(field.checked);
    Field(IndexedName("vic", place)).enabled = field.checked;
    FormField& native = Field("native");
    if (field.checked) {
      native.items.push_back(PlaceItem(place));
    } else {
      native.items.pop_back();
      if (native.selection >= static_cast<int>(native.items.size())) native.selection = 0;
    }
    return true;
  }
  if (field.name == "native") nativeChosen_ = true;
  return true;
}

std::string CEASVDTimingsDlg::Check() {
  for (unsigned i = 0; i < places_.Used(); ++i) {
    if (Field(IndexedName("vic", i)).selection < 0) {
      return Format("Entry[%u:%u]: Invalid Selection", i / kColumns, i % kColumns);
    }
  }
  return {};
}

void CEASVDTimingsDlg::Apply() {
  ShortVideoDescriptorList list = stored_;
  const unsigned used = std::min(places_.Used(), kMaxShortVideoDescriptors);
  const unsigned storedCount = std::min(stored_.count, kMaxShortVideoDescriptors);
  list.count = used;
  const int chosen = Field("native").selection;
  for (unsigned i = 0; i < used; ++i) {
    ShortVideoDescriptor svd = i < storedCount ? stored_.entries[i] : ShortVideoDescriptor{};
    const std::string name = IndexedName("vic", i);
    const int selection = Field(name).selection;
    if ((i >= storedCount || FieldChanged(name)) && selection >= 0 &&
        selection < static_cast<int>(kTableFormats)) {
      const bool wasNative = i < storedCount && svd.native && HasNativeFlag(svd);
      svd = ShortVideoDescriptor{static_cast<uint8_t>(selection + 1), wasNative};
    }
    if (nativeChosen_ && HasNativeFlag(svd)) svd.native = chosen == static_cast<int>(i) + 1;
    list.entries[i] = svd;
  }
  model_.SetVideoDataBlock(index_, list);
}

}  // namespace velmar
