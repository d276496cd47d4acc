#include "dialogs/CEAHdmiVsdbDlg.h"

#include <algorithm>
#include <memory>

#include "common/UserInterface.h"
#include "dialogs/CEAHdmiExt3DDlg.h"
#include "dialogs/CEAHdmiMulti3DDlg.h"
#include "dialogs/CEAHdmiVicsDlg.h"
#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr uint32_t kMaxNibble = 15;
constexpr uint32_t kMaxTmdsMHz = 1275;
constexpr uint32_t kMaxLatencyMs = 506;

// A section of the block, the sections that come after it, and the fields
// it enables.
struct Section {
  const char* name;
  const char* label;
  const char* group;
  const char* previous;
  std::vector<const char*> next;
  std::vector<const char*> fields;
};

const std::vector<Section>& Sections() {
  static const std::vector<Section> kSections = {
      {"features", "   Features", "features-group", nullptr, {"clock-rate"},
       {"dvi-dual", "ai", "dc-30", "dc-36", "dc-48", "dc-y444"}},
      {"clock-rate", "   Clock Rate", "clock-group", "features", {"flags"}, {"max-tmds-clock"}},
      {"flags", "   Flags", "flags-group", "clock-rate", {"latency", "extended-caps"}, {"cn0", "cn1", "cn2", "cn3"}},
      {"latency", "   Latency", "latency-group", "flags", {"interlaced-latency"},
       {"video-latency-type", "video-latency", "audio-latency-type", "audio-latency"}},
      {"interlaced-latency", "   Interlaced Latency", "interlaced-group", "latency", {},
       {"interlaced-video-latency-type", "interlaced-video-latency", "interlaced-audio-latency-type",
        "interlaced-audio-latency"}},
      {"extended-caps", "   Extended Caps", "extended-group", "flags", {},
       {"image-size", "mandatory-3d", "multi-3d", "select-formats", "extended-3d-count", "edit-extended-3d",
        "hdmi-vic-count", "edit-hdmi-vics"}},
  };
  return kSections;
}

// One latency of the record: its fields and messages.
struct Latency {
  unsigned which;
  const char* section;
  const char* kind;
  const char* value;
  const char* kindMessage;
  const char* valueMessage;
};

constexpr Latency kLatencies[] = {
    {kLatencyVideo, "latency", "video-latency-type", "video-latency", "Invalid Video Latency Type Selection",
     "Invalid Video Latency (Valid Range 0 --> 506"},
    {kLatencyAudio, "latency", "audio-latency-type", "audio-latency", "Invalid Audio Latency Type Selection",
     "Invalid Audio Latency (Valid Range 0 --> 506"},
    {kLatencyInterlacedVideo, "interlaced-latency", "interlaced-video-latency-type", "interlaced-video-latency",
     "Invalid Interlaced Video Latency Type Selection", "Invalid Interlaced Video Latency (Valid Range 0 --> 506"},
    {kLatencyInterlacedAudio, "interlaced-latency", "interlaced-audio-latency-type", "interlaced-audio-latency",
     "Invalid Interlaced Audio Latency Type Selection", "Invalid Interlaced Audio Latency (Valid Range 0 --> 506"},
};

struct Flag {
  const char* name;
  const char* label;
  bool HdmiVsdb::*value;
};

constexpr Flag kFeatureFlags[] = {
    {"dvi-dual", "DVI Dual Link", &HdmiVsdb::dviDual},     {"ai", "AI (ISRC/ACP packets)", &HdmiVsdb::supportsAi},
    {"dc-30", "DC RGB 30bpp", &HdmiVsdb::deepColor30},     {"dc-36", "DC RGB 36bpp", &HdmiVsdb::deepColor36},
    {"dc-48", "DC RGB 48bpp", &HdmiVsdb::deepColor48},     {"dc-y444", "DC YCbCr 4:4:4", &HdmiVsdb::deepColorY444},
};

constexpr Flag kContentFlags[] = {
    {"cn0", "CN0 (Graphics)", &HdmiVsdb::cnc0},
    {"cn1", "CN1 (Photo)", &HdmiVsdb::cnc1},
    {"cn2", "CN2 (Cinema)", &HdmiVsdb::cnc2},
    {"cn3", "CN3 (Game)", &HdmiVsdb::cnc3},
};

struct Nibble {
  const char* name;
  const char* label;
  unsigned HdmiVsdb::*value;
  unsigned byte;
  char letter;
};

constexpr Nibble kAddress[] = {
    {"phys-a", "A:", &HdmiVsdb::physA, 0, 'A'},
    {"phys-b", "B:", &HdmiVsdb::physB, 0, 'B'},
    {"phys-c", "C:", &HdmiVsdb::physC, 1, 'C'},
    {"phys-d", "D:", &HdmiVsdb::physD, 1, 'D'},
};

const std::vector<std::string> kLatencyKinds = {"No Data", "Not Supported", "Latency in ms"};
const std::vector<std::string> kMulti3DChoices = {"No Multi 3D Support", "All 16 VICs", "Selected 16 VICs"};

// Positions in kMulti3DChoices; 2 is "Selected 16 VICs".
constexpr unsigned kMulti3DAll = 1;

FormField& Place(FormField& field, int row, int column) {
  field.row = row;
  field.column = column;
  return field;
}

}  // namespace

CEAHdmiVsdbDlg::CEAHdmiVsdbDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA HDMI Vendor Specific Data Block"), model_(model), index_(index) {
  model_.GetHdmiVsdb(index_, stored_);
  model_.GetAllShortVideoDescriptors(svds_);
  copy_ = stored_;
  capacity_ = std::min(std::max(stored_.capacity, stored_.payloadSize), kMaxHdmiVsdbPayload);
  const unsigned content = HdmiVsdbContentSize(stored_);
  trailing_ = stored_.payloadSize > content ? stored_.payloadSize - content : 0;
  readOnly_ = stored_.payloadSize < stored_.sizePhysicalAddress;

  AddGroup("physical-address", "Source Physical Address (A.B.C.D):", 0, 0, 2);
  InGroup("physical-address");
  for (const Nibble& nibble : kAddress) {
    FormField& field = AddEdit(nibble.name, nibble.label, Format("%u", stored_.*nibble.value));
    Place(field, 0, static_cast<int>(&nibble - kAddress)).enabled = !readOnly_;
  }

  const bool present[] = {stored_.hasFeatures, stored_.hasMaxTmds, stored_.hasContentFlags,
                          stored_.hasLatency,  stored_.hasInterlacedLatency, stored_.hasHdmiVideo};
  const int groupPlaces[][2] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 1}, {3, 0}};
  for (size_t s = 0; s < Sections().size(); ++s) {
    const Section& section = Sections()[s];
    AddGroup(section.group, "", groupPlaces[s][0], groupPlaces[s][1]);
    InGroup(section.group);
    AddCheck(section.name, section.label, present[s]);
    if (s == 0) {
      for (const Flag& flag : kFeatureFlags) {
        const int n = static_cast<int>(&flag - kFeatureFlags);
        Place(AddCheck(flag.name, flag.label, stored_.*flag.value), 1 + n / 2, n % 2);
      }
    } else if (s == 1) {
      AddEdit("max-tmds-clock", "Maximum TMDS Clock in MHz:", Format("%u", stored_.maxTmdsMHz));
    } else if (s == 2) {
      for (const Flag& flag : kContentFlags) {
        const int n = static_cast<int>(&flag - kContentFlags);
        Place(AddCheck(flag.name, flag.label, stored_.*flag.value), 1 + n / 2, n % 2);
      }
    } else if (s == 3 || s == 4) {
      for (const Latency& latency : kLatencies) {
        if (latency.section != std::string_view(section.name)) continue;
        const int row = 1 + static_cast<int>(latency.which % 2);
        const bool video = latency.which % 2 == 0;
        Place(AddList(latency.kind, video ? "Video:" : "Audio:", kLatencyKinds,
                      static_cast<int>(stored_.latencyKind[latency.which])),
              row, 0);
        Place(AddEdit(latency.value, "", Format("%u", stored_.latencyMs[latency.which])), row, 1);
      }
    } else {
      AddList("image-size", "Image Size Type:",
              {"No Data", "Defines Aspect Ratio", "Defines Size in 1cm units", "Defines Size in 5cm units"},
              static_cast<int>(stored_.imageSize));
      AddCheck("mandatory-3d", "Support Mandatory 3D Formats:", stored_.present3D);
      Place(AddList("multi-3d", "Multi 3D Support:", kMulti3DChoices, static_cast<int>(stored_.multi3D)), 3, 0);
      Place(AddButton("select-formats", "Select Formats/VICs"), 3, 1);
      Place(AddLabel("extended-3d-count", "Extended 3D Support:", ""), 4, 0);
      Place(AddButton("edit-extended-3d", "Show/Edit"), 4, 1);
      Place(AddLabel("hdmi-vic-count", "Extended HDMI VICs:", ""), 5, 0);
      Place(AddButton("edit-hdmi-vics", "Show/Edit"), 5, 1);
    }
  }
  InGroup("");
  ShowSections();
  ShowCounts();
  Opened();
}

HdmiVsdb CEAHdmiVsdbDlg::Effective() const {
  HdmiVsdb v = stored_;
  v.hasFeatures = On("features");
  v.hasMaxTmds = On("clock-rate");
  v.hasContentFlags = On("flags");
  v.hasLatency = On("latency");
  v.hasInterlacedLatency = On("interlaced-latency");
  v.hasHdmiVideo = On("extended-caps");
  const int multi = Field("multi-3d").selection;
  v.multi3D = multi >= 0 ? static_cast<unsigned>(multi) : stored_.multi3D;
  v.structureAll3D = copy_.structureAll3D;
  v.mask3D = copy_.mask3D;
  v.detailed3DCount = copy_.detailed3DCount;
  v.detailed3D = copy_.detailed3D;
  v.hdmiVicCount = copy_.hdmiVicCount;
  v.hdmiVics = copy_.hdmiVics;
  v.extra3DCount = copy_.extra3DCount;
  v.extra3D = copy_.extra3D;
  return v;
}

unsigned CEAHdmiVsdbDlg::Used() const { return HdmiVsdbContentSize(Effective()) + trailing_; }

bool CEAHdmiVsdbDlg::NeedsRead(const char* field, const char* section, const char* kind) const {
  return FieldChanged(field) || FieldChanged(section) || (kind != nullptr && FieldChanged(kind));
}

void CEAHdmiVsdbDlg::ShowSections() {
  for (const Section& section : Sections()) {
    Field(section.name).enabled = !readOnly_;
    for (const char* name : section.fields) Field(name).enabled = !readOnly_ && On(section.name);
  }
  for (const Latency& latency : kLatencies) {
    FormField& value = Field(latency.value);
    value.enabled = value.enabled && Field(latency.kind).selection == static_cast<int>(kLatencyInMs);
  }
  FormField& select = Field("select-formats");
  select.enabled = select.enabled && Field("multi-3d").selection > 0;
}

void CEAHdmiVsdbDlg::ShowCounts() {
  Field("extended-3d-count").text = Format("COUNT: %u", copy_.detailed3DCount);
  Field("hdmi-vic-count").text = Format("COUNT: %u", copy_.hdmiVicCount);
}

bool CEAHdmiVsdbDlg::SectionChanged(FormField& field) {
  for (const Section& section : Sections()) {
    if (field.name != section.name) continue;
    if (field.checked) {
      if (section.previous != nullptr && !On(section.previous)) return false;
      if (Used() > capacity_) return false;
    } else {
      for (const char* next : section.next) {
        if (On(next)) return false;
      }
      if (field.name == "extended-caps") {
        // The HDMI VICs and the 3D data live in this section: without it
        // they have no place in the block, and their bytes are free again.
        const bool had = copy_.hdmiVicCount > 0 || copy_.detailed3DCount > 0 || copy_.extra3DCount > 0;
        copy_.hdmiVicCount = 0;
        copy_.detailed3DCount = 0;
        copy_.extra3DCount = 0;
        Field("multi-3d").selection = 0;
        if (had) MarkChanged();
        ShowCounts();
      }
    }
    return true;
  }
  return true;
}

bool CEAHdmiVsdbDlg::OnChanged(FormField& field, const FormField& before) {
  if (!SectionChanged(field)) return false;
  if (field.name == "multi-3d" && field.selection > before.selection && Used() > capacity_) {
    // What does not fit falls back to the next smaller choice that does.
    field.selection = static_cast<int>(kMulti3DAll);
    if (before.selection > field.selection || Used() > capacity_) field.selection = 0;
  }
  ShowSections();
  return true;
}

void CEAHdmiVsdbDlg::OnPressed(FormField& field, UserInterface& ui) {
  const unsigned used = Used();
  bool edited = false;
  if (field.name == "select-formats") {
    const int multi = Field("multi-3d").selection;
    CEAHdmiMulti3DDlg form(Address() + ".multi-3d-formats", copy_, svds_, multi > 0 ? static_cast<unsigned>(multi) : 0);
    edited = ui.EditForm(form) && form.Applied();
  } else if (field.name == "edit-extended-3d") {
    unsigned entryBytes = 0;
    for (unsigned i = 0; i < copy_.detailed3DCount && i < kMaxDetailed3D; ++i) {
      entryBytes += copy_.detailed3D[i].kind == k3DKindSideBySide ? 2 : 1;
    }
    const unsigned others = used - entryBytes;
    CEAHdmiExt3DDlg form(Address() + ".extended-3d", copy_, svds_, capacity_ > others ? capacity_ - others : 0);
    edited = ui.EditForm(form) && form.Applied();
  } else if (field.name == "edit-hdmi-vics") {
    const unsigned others = used - copy_.hdmiVicCount;
    CEAHdmiVicsDlg form(Address() + ".hdmi-vics", copy_, capacity_ > others ? capacity_ - others : 0);
    edited = ui.EditForm(form) && form.Applied();
  }
  if (edited) MarkChanged();
  ShowCounts();
}

std::string CEAHdmiVsdbDlg::Check() {
  uint32_t value = 0;
  for (const Nibble& nibble : kAddress) {
    if (FieldChanged(nibble.name) && (!ReadDecimal(Field(nibble.name).text, value) || value > kMaxNibble)) {
      return Format("Invalid Source Physical Address %c (Valid Range 0 --> 15", nibble.letter);
    }
  }
  if (On("clock-rate") && NeedsRead("max-tmds-clock", "clock-rate") &&
      (!ReadDecimal(Field("max-tmds-clock").text, value) || value > kMaxTmdsMHz)) {
    return "Invalid Max TMDS Clock (Valid Range 0 --> 1275";
  }
  for (const Latency& latency : kLatencies) {
    if (!On(latency.section)) continue;
    const int kind = Field(latency.kind).selection;
    if (kind < 0) return latency.kindMessage;
    if (kind == static_cast<int>(kLatencyInMs) && NeedsRead(latency.value, latency.section, latency.kind) &&
        (!ReadDecimal(Field(latency.value).text, value) || value > kMaxLatencyMs)) {
      return latency.valueMessage;
    }
  }
  if (On("extended-caps")) {
    if (Field("image-size").selection < 0) return "Invalid Image Size Type Selection";
    if (Field("multi-3d").selection < 0) return "Invalid Multi 3D Selection";
  }
  if (Used() > capacity_) {
    return Format("Not enough free space in the block for the HDMI data (%u bytes more than it can hold)",
                  Used() - capacity_);
  }
  return {};
}

void CEAHdmiVsdbDlg::Apply() {
  HdmiVsdb v = Effective();
  v.payloadSize = Used();
  uint32_t value = 0;
  for (const Nibble& nibble : kAddress) {
    if (FieldChanged(nibble.name) && ReadDecimal(Field(nibble.name).text, value)) v.*nibble.value = value;
  }
  for (const Flag& flag : kFeatureFlags) {
    if (FieldChanged(flag.name)) v.*flag.value = Field(flag.name).checked;
  }
  if (v.hasMaxTmds && NeedsRead("max-tmds-clock", "clock-rate") && ReadDecimal(Field("max-tmds-clock").text, value)) {
    v.maxTmdsMHz = value;
  }
  for (const Flag& flag : kContentFlags) {
    if (FieldChanged(flag.name)) v.*flag.value = Field(flag.name).checked;
  }
  for (const Latency& latency : kLatencies) {
    if (!On(latency.section)) continue;
    if (FieldChanged(latency.kind)) v.latencyKind[latency.which] = static_cast<unsigned>(Field(latency.kind).selection);
    if (v.latencyKind[latency.which] == kLatencyInMs && NeedsRead(latency.value, latency.section, latency.kind) &&
        ReadDecimal(Field(latency.value).text, value)) {
      v.latencyMs[latency.which] = value;
    }
  }
  if (FieldChanged("image-size")) v.imageSize = static_cast<unsigned>(Field("image-size").selection);
  if (FieldChanged("mandatory-3d")) v.present3D = Field("mandatory-3d").checked;
  model_.SetHdmiVsdb(index_, v);
}

}  // namespace velmar
