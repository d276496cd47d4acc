#include "dialogs/CEAVideoCapsDlg.h"

namespace velmar {

namespace {

struct CapsList {
  const char* name;
  const char* message;
};

// In the order OK checks them.
constexpr CapsList kLists[] = {
    {"ce-scan", "Invalid CE Scan Type selection"},
    {"it-scan", "Invalid IT Scan Type selection"},
    {"pt-scan", "Invalid PT Scan Type selection"},
    {"rgb-quantization", "Invalid RGB Quantization Range"},
    {"ycc-quantization", "Invalid YCC Quantization Range"},
};

std::vector<std::string> ScanItems() {
  std::vector<std::string> items;
  for (unsigned value = kScanNotSupported; value <= kScanBoth; ++value) items.push_back(ScanBehaviourName(value));
  return items;
}

}  // namespace

CEAVideoCapsDlg::CEAVideoCapsDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Video Capabilities"), model_(model), index_(index) {
  model_.GetVideoCapability(index_, stored_);
  const DataBlockEntry* entry = model_.Entry(index_);
  const bool held = entry != nullptr && entry->length > entry->headerLength;
  AddList("ce-scan", "CE Scan Behavior:", ScanItems(), static_cast<int>(stored_.ceScan)).enabled = held;
  AddList("it-scan", "IT Scan Behavior:", ScanItems(), static_cast<int>(stored_.itScan)).enabled = held;
  AddList("pt-scan", "PT Scan Behavior:", ScanItems(), static_cast<int>(stored_.ptScan)).enabled = held;
  AddList("rgb-quantization", "RGB Quantization Range:", {"No Data", "Selectable (via AVI Q)"},
          stored_.rgbQuantSelectable ? 1 : 0)
      .enabled = held;
  AddList("ycc-quantization", "YCC Quantization Range:", {"Limited Range", "Full Range"},
          stored_.yccQuantSelectable ? 1 : 0)
      .enabled = held;
  Opened();
}

std::string CEAVideoCapsDlg::Check() {
  for (const CapsList& list : kLists) {
    if (Field(list.name).selection < 0) return list.message;
  }
  return {};
}

void CEAVideoCapsDlg::Apply() {
  VideoCapability caps = stored_;
  auto chosen = [this](const char* name) { return static_cast<unsigned>(Field(name).selection); };
  if (FieldChanged("ce-scan")) caps.ceScan = chosen("ce-scan");
  if (FieldChanged("it-scan")) caps.itScan = chosen("it-scan");
  if (FieldChanged("pt-scan")) caps.ptScan = chosen("pt-scan");
  if (FieldChanged("rgb-quantization")) caps.rgbQuantSelectable = chosen("rgb-quantization") == 1;
  if (FieldChanged("ycc-quantization")) caps.yccQuantSelectable = chosen("ycc-quantization") == 1;
  model_.SetVideoCapability(index_, caps);
}

}  // namespace velmar
