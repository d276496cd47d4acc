#include "dialogs/CEASpeakersDlg.h"

namespace velmar {

namespace {

// One flag of the record and its boxes (a pair has a right box too).
struct SpeakerBox {
  const char* group;
  const char* name;
  const char* partner;  // null for a single box
  int column;
  int partnerColumn;
  const char* caption;
  const char* partnerCaption;
  bool SpeakerAllocation::*flag;
  unsigned byte;  // the payload byte that holds the flag
};

constexpr SpeakerBox kBoxes[] = {
    {"high", "high-left", "high-right", 1, 5, "Left", "Right", &SpeakerAllocation::flhFrh, 1},
    {"high", "high-center", nullptr, 3, 0, "Center", nullptr, &SpeakerAllocation::fch, 1},
    {"front", "front-left-wide", "front-right-wide", 0, 6, "Left Wide", "Right Wide", &SpeakerAllocation::flwFrw, 0},
    {"front", "front-left", "front-right", 1, 5, "Left", "Right", &SpeakerAllocation::flFr, 0},
    {"front", "front-left-center", "front-right-center", 2, 4, "Left Center", "Right Center",
     &SpeakerAllocation::flcFrc, 0},
    {"front", "front-center", nullptr, 3, 0, "Center", nullptr, &SpeakerAllocation::fc, 0},
    {"top", "top-center", nullptr, 3, 0, "Center", nullptr, &SpeakerAllocation::tc, 1},
    {"rear", "rear-left", "rear-right", 1, 5, "Left", "Right", &SpeakerAllocation::rlRr, 0},
    {"rear", "rear-left-center", "rear-right-center", 2, 4, "Left Center", "Right Center",
     &SpeakerAllocation::rlcRrc, 0},
    {"rear", "rear-center", nullptr, 3, 0, "Center", nullptr, &SpeakerAllocation::rc, 0},
    {"lfe", "lfe", nullptr, 3, 0, "Center", nullptr, &SpeakerAllocation::lfe, 0},
};

}  // namespace

CEASpeakersDlg::CEASpeakersDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Speakers Allocation"), model_(model), index_(index) {
  model_.GetSpeakerAllocation(index_, stored_);
  const DataBlockEntry* entry = model_.Entry(index_);
  const unsigned payload = entry != nullptr ? entry->length - entry->headerLength : 0;
  AddGroup("high", "High:", 0, 0);
  AddGroup("front", "Front:", 1, 0);
  AddGroup("top", "Top:", 2, 0);
  AddGroup("rear", "Rear:", 3, 0);
  AddGroup("lfe", "Low Frequency Effect:", 4, 0);
  for (const SpeakerBox& box : kBoxes) {
    InGroup(box.group);
    const bool on = stored_.*box.flag;
    const bool held = box.byte < payload;
    FormField& left = AddCheck(box.name, box.caption, on);
    left.row = 0;
    left.column = box.column;
    left.enabled = held;
    if (box.partner != nullptr) {
      FormField& right = AddCheck(box.partner, box.partnerCaption, on);
      right.row = 0;
      right.column = box.partnerColumn;
      right.enabled = held;
    }
  }
  InGroup("");
  Opened();
}

bool CEASpeakersDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  for (const SpeakerBox& box : kBoxes) {
    if (box.partner == nullptr) continue;
    if (field.name == box.name) Field(box.partner).checked = field.checked;
    if (field.name == box.partner) Field(box.name).checked = field.checked;
  }
  return true;
}

void CEASpeakersDlg::Apply() {
  SpeakerAllocation speakers = stored_;
  for (const SpeakerBox& box : kBoxes) {
    if (FieldChanged(box.name)) speakers.*box.flag = Field(box.name).checked;
  }
  model_.SetSpeakerAllocation(index_, speakers);
}

}  // namespace velmar
