#include "dialogs/CEAAudioDescriptorsDlg.h"

#include <algorithm>

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kCodeLpcm = 1;
constexpr unsigned kCodeExtended = 15;

constexpr const char* kFormatNames[16] = {"Reserved", "LPCM",  "AC-3", "MPEG-1",  "MP3",  "MPEG2",
                                          "AAC LC",   "DTS",   "ATRAC", "DSD",    "E-AC-3", "DTS-HD",
                                          "MLP",      "DST",   "WMA-Pro", "Extended"};

struct RateBox {
  const char* name;
  const char* label;
};
constexpr RateBox kRates[7] = {{"rate-32", "32kHz"},   {"rate-44-1", "44.1kHz"}, {"rate-48", "48kHz"},
                               {"rate-88-2", "88.2kHz"}, {"rate-96", "96kHz"},   {"rate-176-4", "176.4kHz"},
                               {"rate-192", "192kHz"}};
constexpr RateBox kSizes[3] = {{"bits-16", "16bit"}, {"bits-20", "20bit"}, {"bits-24", "24bit"}};

// The value field's label, its largest value and its message, by format code.
struct ValueRule {
  const char* label;
  uint32_t maximum;
  const char* message;
};

ValueRule RuleOf(int code) {
  if (code >= 2 && code <= 8) {
    return {"Maximum bit rate (kHz):", 2043, "Entry[%u]: Invalid BitRate (Valid range is 0 --> 2043)"};
  }
  if (code >= 9 && code <= 13) {
    return {"Value (DEC):", 255, "Entry[%u]: Invalid Format-dependant Value (Valid range is 0 --> 255)"};
  }
  if (code == 14) return {"Profile (DEC):", 7, "Entry[%u]: Invalid Profile (Valid range is 0 --> 7)"};
  if (code == static_cast<int>(kCodeExtended)) {
    return {"Extended Code (DEC):", 31, "Entry[%u]: Invalid Audio Format Code Extension (Valid range is 0 --> 31)"};
  }
  return {"", 0, nullptr};  // LPCM, the reserved code, no choice: no value field
}

std::string Row(const char* base, unsigned row) { return IndexedName(base, row); }

}  // namespace

CEAAudioDescriptorsDlg::CEAAudioDescriptorsDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Short Audio Descriptors"), model_(model), index_(index), rows_(0, 1) {
  model_.GetAudioDataBlock(index_, stored_);
  storedCount_ = std::min(stored_.count, kRows);
  rows_ = FrontPlaces(storedCount_, 1);
  const unsigned capacity = std::min(stored_.capacity, kRows);

  for (unsigned i = 0; i < kRows; ++i) {
    AddGroup(Format("row%u", i), "", static_cast<int>(i), 0);
    InGroup(Format("row%u", i));
    const bool used = i < storedCount_;
    const ShortAudioDescriptor d = used ? stored_.entries[i] : ShortAudioDescriptor{};
    firstCode_[i] = used && d.formatCode == 0 ? 0 : 1;
    std::vector<std::string> formats;
    for (unsigned code = firstCode_[i]; code <= kCodeExtended; ++code) {
      formats.push_back(Format("%u: %s", code, kFormatNames[code]));
    }
    auto place = [](FormField& field, int row, int column) -> FormField& {
      field.row = row;
      field.column = column;
      return field;
    };
    place(AddCheck(Row("used", i), "", used), 0, 0).enabled = i < capacity;
    place(AddList(Row("format", i), "", std::move(formats), used ? static_cast<int>(d.formatCode - firstCode_[i]) : -1),
          0, 1);
    place(AddEdit(Row("channels", i), "Channels:", used ? Format("%u", d.channels) : std::string()), 0, 2);
    const bool lpcm = used && d.formatCode == kCodeLpcm;
    place(AddEdit(Row("value", i), "", used && !lpcm ? Format("%u", d.formatValue) : std::string()), 0, 3);
    for (unsigned r = 0; r < 7; ++r) {
      place(AddCheck(Row(kRates[r].name, i), kRates[r].label, used && ((d.sampleRates >> r) & 1u) != 0), 1,
            static_cast<int>(r));
    }
    for (unsigned b = 0; b < 3; ++b) {
      place(AddCheck(Row(kSizes[b].name, i), kSizes[b].label, lpcm && ((d.formatValue >> b) & 1u) != 0), 1,
            static_cast<int>(7 + b));
    }
    ShowRow(i, used);
  }
  InGroup("");
  Opened();
}

int CEAAudioDescriptorsDlg::ChosenCode(unsigned row) const {
  const int selection = Field(Row("format", row)).selection;
  return selection < 0 ? -1 : selection + static_cast<int>(firstCode_[row]);
}

void CEAAudioDescriptorsDlg::ShowRow(unsigned row, bool used) {
  const int code = ChosenCode(row);
  const ValueRule rule = RuleOf(code);
  Field(Row("format", row)).enabled = used;
  Field(Row("channels", row)).enabled = used;
  FormField& value = Field(Row("value", row));
  value.label = rule.label;
  value.enabled = used && rule.message != nullptr;
  for (const RateBox& rate : kRates) Field(Row(rate.name, row)).enabled = used;
  for (const RateBox& size : kSizes) Field(Row(size.name, row)).enabled = used && code == static_cast<int>(kCodeLpcm);
}

bool CEAAudioDescriptorsDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  unsigned row = 0;
  if (ParseIndexedName(field.name, "used", row)) {
    if (!rows_.Allows(row, field.checked)) return false;
    rows_.Take(field.checked);
    ShowRow(row, field.checked);
  } else if (ParseIndexedName(field.name, "format", row)) {
    ShowRow(row, true);
  }
  return true;
}

std::string CEAAudioDescriptorsDlg::Check() {
  for (unsigned i = 0; i < rows_.Used(); ++i) {
    const int code = ChosenCode(i);
    if (code < 0) return Format("Entry[%u]: Invalid Audio Format selection", i);
    const std::string channels = Row("channels", i);
    if (IsNewRow(i) || FieldChanged(channels)) {
      uint32_t count = 0;
      if (!ReadDecimal(Field(channels).text, count) || count < 1 || count > 8) {
        return Format("Entry[%u]: Invalid Number of channels (Valid range is 1 --> 8)", i);
      }
    }
    const ValueRule rule = RuleOf(code);
    const std::string value = Row("value", i);
    if (rule.message != nullptr && (IsNewRow(i) || FieldChanged(value) || FieldChanged(Row("format", i)))) {
      uint32_t number = 0;
      if (!ReadDecimal(Field(value).text, number) || number > rule.maximum) return Format(rule.message, i);
    }
  }
  return {};
}

void CEAAudioDescriptorsDlg::Apply() {
  ShortAudioDescriptorList list = stored_;
  const unsigned used = std::min(rows_.Used(), kRows);
  list.count = used;
  for (unsigned i = 0; i < used; ++i) {
    const bool fresh = IsNewRow(i);
    ShortAudioDescriptor d = fresh ? ShortAudioDescriptor{} : stored_.entries[i];
    const bool formatChanged = fresh || FieldChanged(Row("format", i));
    if (formatChanged) d.formatCode = static_cast<unsigned>(std::max(ChosenCode(i), 0));
    const std::string channels = Row("channels", i);
    if (fresh || FieldChanged(channels)) ReadDecimal(Field(channels).text, d.channels);
    for (unsigned r = 0; r < 7; ++r) {
      const std::string rate = Row(kRates[r].name, i);
      if (!fresh && !FieldChanged(rate)) continue;
      d.sampleRates = Field(rate).checked ? d.sampleRates | (1u << r) : d.sampleRates & ~(1u << r);
    }
    if (d.formatCode == kCodeLpcm) {
      bool sizesChanged = formatChanged;
      for (const RateBox& size : kSizes) sizesChanged = sizesChanged || FieldChanged(Row(size.name, i));
      if (sizesChanged) {
        d.formatValue = 0;
        for (unsigned b = 0; b < 3; ++b) d.formatValue |= Field(Row(kSizes[b].name, i)).checked ? 1u << b : 0;
      }
    } else if (RuleOf(static_cast<int>(d.formatCode)).message != nullptr) {
      const std::string value = Row("value", i);
      if (formatChanged || FieldChanged(value)) ReadDecimal(Field(value).text, d.formatValue);
    } else if (formatChanged) {
      d.formatValue = 0;
    }
    list.entries[i] = d;
  }
  model_.SetAudioDataBlock(index_, list);
}

}  // namespace velmar
