#include "app/MainWindowCore.h"

#include <algorithm>

#include "common/UserInterface.h"
#include "storage/BinFile.h"
#include "storage/CommandLine.h"
#include "storage/FileIO.h"
#include "storage/InfFile.h"
#include "storage/RegFile.h"
#include "storage/TxtFile.h"
#include "util/Clock.h"
#include "util/Format.h"

namespace velmar {

const char kTxtFilter[] = "Text files (*.txt)|*.txt|EDID Text files (*.etxt)|*.etxt|All files (*.*)|*.*||";
const char kBinFilter[] =
    "Binary files (*.bin)|*.bin|EDID Binary files (*.edid)|*.edid|EDID Binary files (*.ebin)|*.ebin|All files "
    "(*.*)|*.*||";
const char kInfFilter[] = "Setup Information files (*.inf)|*.inf|All files (*.*)|*.*||";
const char kRegFilter[] = "Registry files (*.reg)|*.reg|All files (*.*)|*.*||";

MainWindowCore::MainWindowCore(UserInterface& userInterface) : ui(userInterface), image(userInterface, this) {}

MainWindowCore::~MainWindowCore() = default;

void MainWindowCore::Initialize(const std::vector<std::string>& arguments) {
  displays.InitAdapters();
  image.UpdateButtons();
  image.SetSource(SourceKind::Custom);
  if (!arguments.empty()) OpenFileFromCommandLine(image, arguments[0]);
}

void MainWindowCore::SetClock(const Clock* commandClock) {
  clock = commandClock;
  image.SetClock(commandClock);
}

bool MainWindowCore::ConfirmDiscard() {
  if (!image.IsModified()) return true;
  return ui.AskOkCancel("All unsaved data will be lost\r\nAre you sure?");
}

std::optional<std::string> MainWindowCore::AskOpen(const char* extension, const char* filter) {
  return ui.AskOpenFile(FileDialogRequest{extension, filter});
}

std::optional<std::string> MainWindowCore::AskSave(const char* extension, const char* filter) {
  return ui.AskSaveFile(FileDialogRequest{extension, filter});
}

void MainWindowCore::LoadTxtFile() {
  if (!ConfirmDiscard()) return;
  if (const auto path = AskOpen("txt", kTxtFilter)) velmar::LoadTxtFile(image, *path);
}

void MainWindowCore::SaveTxtFile() {
  if (const auto path = AskSave("txt", kTxtFilter)) SaveToFile(*path, TxtFileContents(image), SourceKind::TxtFile);
}

void MainWindowCore::LoadBinFile() {
  if (!ConfirmDiscard()) return;
  if (const auto path = AskOpen("bin", kBinFilter)) velmar::LoadBinFile(image, *path);
}

void MainWindowCore::SaveBinFile() {
  if (const auto path = AskSave("bin", kBinFilter)) SaveToFile(*path, BinFileContents(image), SourceKind::BinFile);
}

void MainWindowCore::LoadInfFile() {
  if (!ConfirmDiscard()) return;
  if (const auto path = AskOpen("inf", kInfFilter)) velmar::LoadInfFile(image, *path);
}

void MainWindowCore::GenerateInfFile() {
  if (image.BlockCount() == 0) {
    ui.ShowMessage("Operation Failed. Need valid EDID with at least 1 block");
    return;
  }
  const auto path = AskSave("inf", kInfFilter);
  if (!path) return;
  const LocalTime today = (clock != nullptr ? *clock : SystemClockInstance()).Now();
  SaveToFile(*path, InfFileContents(image, today), SourceKind::InfFile);
}

void MainWindowCore::LoadRegFile() {
  if (!ConfirmDiscard()) return;
  if (const auto path = AskOpen("reg", kRegFilter)) velmar::LoadRegFile(image, *path);
}

void MainWindowCore::GenerateRegFile() {
  const std::optional<ValueChoice> choice = ChooseAnyValue();
  if (!choice) return;
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  if (!keyPath) {
    ui.ShowMessage("Failed to obtain registry path");
    return;
  }
  const auto path = AskSave("reg", kRegFilter);
  if (!path) return;
  SaveToFile(*path, RegFileContents(image, *keyPath, ValueNameOf(*choice)), SourceKind::RegFile);
}

void MainWindowCore::ReadEdidFromDisplay() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return;
  }
  if (!ConfirmDiscard()) return;
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return;
  std::array<uint8_t, kMaxEdidSize> bytes{};
  const int total = displays.ReadDisplayEdid(*record, bytes);
  image.ResetForLoad();
  // A display that answers no byte (a connector without EDID) failed as well.
  if (total <= 0) {
    ui.ShowMessage("Failed to read EDID from driver. Check Initialization log");
  } else {
    image.rawData = bytes;
  }
  image.Rebuild();
  SetConnectedDisplaySource(*record);
  image.ClearModified();
}

void MainWindowCore::OverrideDisplayEdid() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return;
  }
  if (image.BlockCount() == 0) {
    ui.ShowMessage("No Valid EDID present");
    return;
  }
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return;
  if (!displays.OverrideDisplayEdid(image.GetUsedSize(), *record, image.rawData.data())) {
    ui.ShowMessage("Failed to override EDID to driver. Check Initialization log");
    return;
  }
  SetConnectedDisplaySource(*record);
  image.ClearModified();
}

void MainWindowCore::ReadEmulatedEdidFromRegistry() {
  if (displays.Table().empty()) {
    ui.ShowMessage("No supported displays detected");
    return;
  }
  if (!AnyValueExists()) {
    ui.ShowMessage("No emulated display registry present");
    return;
  }
  if (!ConfirmDiscard()) return;
  const std::optional<ValueChoice> choice = ChooseExistingValue();
  if (!choice) return;
  // The value is read aside first: a failed read leaves the image as it was.
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  std::array<uint8_t, kMaxEdidSize> bytes{};
  unsigned size = 0;
  if (!keyPath || !store.ReadValue(*keyPath, ValueNameOf(*choice), bytes, size)) {
    ui.ShowMessage("Failed to read registry");
    return;
  }
  image.ResetForLoad();
  image.rawData = bytes;
  image.Rebuild();
  SetRegistrySource(*choice, *keyPath);
}

void MainWindowCore::OverrideEmulatedEdidRegistry() {
  if (displays.Table().empty()) {
    ui.ShowMessage("No supported displays detected");
    return;
  }
  if (image.BlockCount() == 0) {
    ui.ShowMessage("No Valid EDID present");
    return;
  }
  const std::optional<ValueChoice> choice = ChooseAnyValue();
  if (!choice) return;
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  if (!keyPath || !store.WriteValue(*keyPath, ValueNameOf(*choice), image.rawData.data(), image.GetUsedSize())) {
    ui.ShowMessage("Failed to write registry");
    return;
  }
  SetRegistrySource(*choice, *keyPath);
  image.ClearModified();
}

void MainWindowCore::DeleteEmulatedEdidRegistry() {
  if (displays.Table().empty()) {
    ui.ShowMessage("No supported displays detected");
    return;
  }
  if (!AnyValueExists()) {
    ui.ShowMessage("No emulated display registry present");
    return;
  }
  const std::optional<ValueChoice> choice = ChooseExistingValue();
  if (!choice) return;
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  const std::string valueName = ValueNameOf(*choice);
  if (!keyPath || !store.DeleteValue(*keyPath, valueName)) {
    ui.ShowMessage("Failed to delete registry");
    return;
  }
  // The image no longer matches any saved copy when its own source is gone.
  if (image.GetSourceKind() == SourceKind::RegistryValue && *keyPath == sourceKeyPath &&
      valueName == sourceValueName) {
    image.SetModified();
  }
}

void MainWindowCore::ReinitGraphicsAdapterInfo() {
  if (!displays.InitAdapters()) ui.ShowMessage("Failed to initialize Graphics Adapter Info");
}

void MainWindowCore::ShowGraphicsAdaptersInitLog() { ui.ShowMessage(displays.InitLog()); }

std::optional<size_t> MainWindowCore::ChooseConnectedDisplay() {
  listedDisplays.clear();
  const unsigned choice = ui.SelectItem(this, kContentSelectDisplay);
  if (choice >= listedDisplays.size()) return std::nullopt;
  return listedDisplays[choice];
}

std::optional<MainWindowCore::ValueChoice> MainWindowCore::ChooseExistingValue() {
  listedValues.clear();
  const unsigned choice = ui.SelectItem(this, kContentExistingEmulatedValues);
  if (choice >= listedValues.size()) return std::nullopt;
  return listedValues[choice];
}

std::optional<MainWindowCore::ValueChoice> MainWindowCore::ChooseAnyValue() {
  const unsigned choice = ui.SelectItem(this, kContentAllEmulatedValues);
  if (choice == kNoSelection || choice / 2 >= displays.Table().size()) return std::nullopt;
  return ValueChoice{choice / 2, choice % 2 == 0};
}

std::string MainWindowCore::ValueNameOf(const ValueChoice& choice) const {
  const unsigned index = choice.record < displays.Table().size()
                             ? static_cast<unsigned>(displays.Table()[choice.record].displayIndex)
                             : 0;
  return EmulatedEdidStore::ValueName(choice.analog, index);
}

bool MainWindowCore::ValueExists(size_t record, bool analog) const {
  const std::optional<std::string> keyPath = displays.RegistryPath(record);
  return keyPath && store.ValueExists(*keyPath, ValueNameOf(ValueChoice{record, analog}));
}

bool MainWindowCore::AnyValueExists() const {
  for (size_t i = 0; i < displays.Table().size(); ++i) {
    if (ValueExists(i, true) || ValueExists(i, false)) return true;
  }
  return false;
}

void MainWindowCore::SetConnectedDisplaySource(size_t record) {
  SourceDetails details;
  if (record < displays.Table().size()) {
    const DisplayRecord& display = displays.Table()[record];
    details.displayName = display.name;
    details.displayIndex = static_cast<unsigned>(display.displayIndex);
    details.adapterPosition = static_cast<unsigned>(display.adapterIndex);
  }
  image.SetSource(SourceKind::ConnectedDisplay, details);
}

void MainWindowCore::SetRegistrySource(const ValueChoice& choice, const std::string& keyPath) {
  SourceDetails details;
  details.registryValueName = ValueNameOf(choice);
  details.displayIndex = static_cast<unsigned>(displays.Table()[choice.record].displayIndex);
  details.registryPath = keyPath;
  sourceKeyPath = keyPath;
  sourceValueName = details.registryValueName;
  image.SetSource(SourceKind::RegistryValue, details);
}

void MainWindowCore::FillDisplayChoices(CallbackFillContentTgt* target) {
  target->SetTitle("Select Display");
  listedDisplays = displays.ConnectedRecords();
  for (size_t record : listedDisplays) target->Append(displays.DisplayListText(record, ""));
}

void MainWindowCore::FillExistingValueChoices(CallbackFillContentTgt* target) {
  target->SetTitle("Select Display Registry");
  listedValues.clear();
  for (size_t record = 0; record < displays.Table().size(); ++record) {
    if (ValueExists(record, true)) {
      listedValues.push_back(ValueChoice{record, true});
      target->Append(displays.DisplayListText(record, "Analog "));
    }
    if (ValueExists(record, false)) {
      listedValues.push_back(ValueChoice{record, false});
      target->Append(displays.DisplayListText(record, "Digital "));
    }
  }
}

void MainWindowCore::FillAllValueChoices(CallbackFillContentTgt* target) {
  target->SetTitle("Select Display Registry");
  for (size_t record = 0; record < displays.Table().size(); ++record) {
    target->Append(displays.DisplayListText(record, "Analog  "));
    target->Append(displays.DisplayListText(record, "Digital "));
  }
}

bool MainWindowCore::SaveToFile(const std::string& path, const std::string& contents, SourceKind kind) {
  std::string error;
  switch (WriteFileAtomically(path, contents, &error)) {
    case WriteStatus::CannotCreate:
      ui.ShowMessage(Format("Failed to open [%s] for writing", path.c_str()));
      return false;
    case WriteStatus::WriteFailed:
      ui.ShowMessage(WriteFailureMessage(path, error));
      return false;
    case WriteStatus::Ok:
      break;
  }
  SourceDetails details;
  details.file = path;
  image.SetSource(kind, details);
  image.ClearModified();
  return true;
}

void MainWindowCore::ShowModes() { ui.ShowModes(this); }

void MainWindowCore::ShowSummary() { ui.ShowContent(this, kContentSummary); }

void MainWindowCore::GenerateErrorsReport() { ui.ShowContent(this, kContentErrorsReport); }

void MainWindowCore::EditRawData() {
  if (!ui.EditRawData(this, image.rawData.data(), kMaxEdidSize)) return;
  image.Rebuild();
  if (image.BlockCount() > 0) {
    image.SetModified();
    return;
  }
  image.ShowNoSourceLabels();
  // Bytes that no block accepts are still the user's edit: only an image
  // cleared to zeros counts as nothing to lose.
  const bool allZero = std::all_of(image.rawData.begin(), image.rawData.end(), [](uint8_t b) { return b == 0; });
  image.SetModifiedFlag(!allZero);
}

void MainWindowCore::FillContent(CallbackFillContentTgt* target, unsigned kind) {
  if (target == nullptr) return;
  switch (kind) {
    case kContentSelectDisplay:
      FillDisplayChoices(target);
      break;
    case kContentExistingEmulatedValues:
      FillExistingValueChoices(target);
      break;
    case kContentAllEmulatedValues:
      FillAllValueChoices(target);
      break;
    default:
      image.FillContent(target, kind);
      break;
  }
}

void MainWindowCore::DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) {
  image.DescribeByte(index, name, group, blockLabel);
}

void MainWindowCore::RelayoutBlocks() { image.RelayoutBlocks(); }

void MainWindowCore::SetModified() { image.SetModified(); }

}  // namespace velmar
