#include "dialogs/CEAHdmiVicsDlg.h"

#include <algorithm>

#include "blocks/HdmiVicTable.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kTableVics = HdmiVicTable::kLastVic;

}  // namespace

CEAHdmiVicsDlg::CEAHdmiVicsDlg(std::string address, HdmiVsdb& copy, unsigned room)
    : EditorForm(std::move(address), "CEA HDMI Short Video Descriptors"), copy_(copy), room_(room), places_(0, 0) {
  storedCount_ = std::min(copy_.hdmiVicCount, kPlaces);
  places_ = FrontPlaces(storedCount_, 0);
  for (unsigned c = 0; c < kColumns; ++c) AddGroup(Format("column%u", c), "", 0, static_cast<int>(c));
  for (unsigned i = 0; i < kPlaces; ++i) {
    InGroup(Format("column%u", i % kColumns));
    const bool used = i < storedCount_;
    std::vector<std::string> items;
    for (unsigned vic = 1; vic <= kTableVics; ++vic) items.push_back(HdmiVicItem(vic));
    int selection = -1;
    if (used) {
      const unsigned vic = copy_.hdmiVics[i].vic;
      if (HdmiVicTable::Find(vic) != nullptr) {
        selection = static_cast<int>(vic) - 1;
      } else {
        items.push_back(HdmiVicItem(vic));
        selection = static_cast<int>(kTableVics);
      }
    }
    FormField& check = AddCheck(IndexedName("used", i), "", used);
    check.row = static_cast<int>(i / kColumns);
    FormField& list = AddList(IndexedName("vic", i), "", std::move(items), selection);
    list.row = check.row;
    list.column = 1;
    list.enabled = used;
  }
  InGroup("");
  Opened();
}

bool CEAHdmiVicsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  unsigned place = 0;
  if (!ParseIndexedName(field.name, "used", place)) return true;
  if (!places_.Allows(place, field.checked)) return false;
  if (field.checked && places_.Used() + 1 > room_) return false;
  places_.Take(field.checked);
  Field(IndexedName("vic", place)).enabled = field.checked;
  return true;
}

std::string CEAHdmiVicsDlg::Check() {
  for (unsigned i = 0; i < places_.Used(); ++i) {
    if (Field(IndexedName("vic", i)).selection < 0) {
      return Format("Entry[%u:%u]: Invalid Selection", i / kColumns, i % kColumns);
    }
  }
  return {};
}

void CEAHdmiVicsDlg::Apply() {
  const unsigned used = std::min(places_.Used(), kPlaces);
  for (unsigned i = 0; i < used; ++i) {
    const std::string name = IndexedName("vic", i);
    const int selection = Field(name).selection;
    HdmiVicEntry entry = i < storedCount_ ? copy_.hdmiVics[i] : HdmiVicEntry{};
    if ((i >= storedCount_ || FieldChanged(name)) && selection >= 0 && selection < static_cast<int>(kTableVics)) {
      entry.vic = static_cast<uint8_t>(selection + 1);
    }
    entry.flag = 1;
    copy_.hdmiVics[i] = entry;
  }
  copy_.hdmiVicCount = used;
  applied_ = true;
}

}  // namespace velmar
