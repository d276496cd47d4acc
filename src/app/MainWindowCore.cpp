#include "app/MainWindowCore.h"

#include <algorithm>

#include "app/ImageFiles.h"
#include "common/UserInterface.h"
#include "display/BootOverride.h"
#include "storage/FileFormat.h"
#include "util/Clock.h"
#include "util/Format.h"

namespace velmar {

MainWindowCore::MainWindowCore(UserInterface& userInterface) : ui(userInterface), image(userInterface, this) {
  image.SayWhenAFileHoldsNoEdid(true);
}

MainWindowCore::~MainWindowCore() = default;

void MainWindowCore::Initialize(const std::vector<std::string>& arguments) {
  displays.InitAdapters();
  image.UpdateButtons();
  image.SetSource(SourceKind::Custom);
  if (!arguments.empty()) OpenFileFromCommandLine(image, arguments[0]);
  image.Checkpoint();
}

void MainWindowCore::Perform(const std::function<void()>& action) {
  // A change made outside any action is a step of its own, not part of this one.
  image.Checkpoint();
  if (action) action();
  image.Checkpoint();
}

void MainWindowCore::SetClock(const Clock* commandClock) {
  clock = commandClock;
  image.SetClock(commandClock);
}

bool MainWindowCore::ConfirmDiscard() {
  if (!image.IsModified()) return true;
  return ui.AskOkCancel("All unsaved data will be lost\r\nAre you sure?");
}

FileDialogRequest MainWindowCore::DialogRequest(SourceKind kind, bool save) const {
  const FileFormat* format = FormatOf(kind);
  FileDialogRequest request;
  if (format == nullptr) return request;
  request.defaultExtension = format->defaultExtension;
  request.filter = format->filter;
  const std::string& file = image.GetSourceDetails().file;
  if (FormatOf(image.GetSourceKind()) == nullptr || file.empty()) return request;
  const size_t slash = file.rfind('/');
  if (slash != std::string::npos) request.folder = slash == 0 ? std::string("/") : file.substr(0, slash);
  if (save) {
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    const size_t dot = name.rfind('.');
    // "monitor.bin" is offered as "monitor.inf" to the INF format; ".bin" stays ".bin.inf".
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    if (!stem.empty()) request.fileName = stem + "." + request.defaultExtension;
  }
  return request;
}

SourceKind MainWindowCore::ShortcutLoadKind() const {
  if (lastLoadKind) return *lastLoadKind;
  return FormatOf(image.GetSourceKind()) != nullptr ? image.GetSourceKind() : SourceKind::BinFile;
}

SourceKind MainWindowCore::ShortcutSaveKind() const {
  if (lastSaveKind) return *lastSaveKind;
  return FormatOf(image.GetSourceKind()) != nullptr ? image.GetSourceKind() : SourceKind::BinFile;
}

void MainWindowCore::LoadFile(SourceKind kind) {
  const FileFormat* format = FormatOf(kind);
  if (format == nullptr) return;
  lastLoadKind = kind;
  if (!ConfirmDiscard()) return;
  const auto path = ui.AskOpenFile(DialogRequest(kind, false));
  if (path) LoadImageFile(image, kind, *path);
}

void MainWindowCore::SaveFile(SourceKind kind) {
  const FileFormat* format = FormatOf(kind);
  if (format == nullptr) return;
  lastSaveKind = kind;
  if (format->needsBlocks && image.BlockCount() == 0) {
    ui.ShowMessage("Operation Failed. Need valid EDID with at least 1 block");
    return;
  }
  EncodeOptions options;
  if (format->needsRegistryValue && displays.Table().empty()) {
    // Without a display there is no value to choose; the command line names one itself.
    ui.ShowMessage(
        "No supported displays detected\r\n"
        "velmar-edid convert writes a REG file for any display: give it --reg-key PATH and --reg-value NAME "
        "(such as NEXOEmulatedEDID_D0).");
    return;
  }
  if (format->needsRegistryValue) {
    // The file carries the value of a display chosen first.
    const std::optional<ValueChoice> choice = ChooseAnyValue();
    if (!choice) return;
    const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
    if (!keyPath) {
      ui.ShowMessage("Failed to obtain registry path");
      return;
    }
    options.registryPath = *keyPath;
    options.valueName = ValueNameOf(*choice);
  }
  const auto path = ui.AskSaveFile(DialogRequest(kind, true));
  if (!path) return;
  options.date = (clock != nullptr ? *clock : SystemClockInstance()).Now();
  SaveImageFile(image, kind, *path, options);
}

void MainWindowCore::ReadEdidFromDisplay() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return;
  }
  if (!ConfirmDiscard()) return;
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return;
  LoadResult result;
  const int total = displays.ReadDisplayEdid(*record, result.bytes);
  // A display that answers no byte (a connector without EDID) failed as well.
  if (total <= 0) {
    result = LoadResult::Failed(LoadStatus::NoData);
  } else {
    result.length = static_cast<size_t>(total);
  }
  image.Load(result, SourceKind::ConnectedDisplay, ConnectedDisplayDetails(*record));
}

bool MainWindowCore::CanSendImage() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return false;
  }
  if (image.BlockCount() == 0) {
    ui.ShowMessage("No Valid EDID present");
    return false;
  }
  if (image.MissingExtensionCount() > 0) {
    ui.ShowMessage(image.IncompleteImageMessage());
    return false;
  }
  return true;
}

void MainWindowCore::OverrideDisplayEdid() {
  if (!CanSendImage()) return;
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return;
  if (!displays.OverrideDisplayEdid(image.GetUsedSize(), *record, image.rawData.data())) {
    ui.ShowMessage("Failed to override EDID to driver. Check Initialization log");
    return;
  }
  image.SetSource(SourceKind::ConnectedDisplay, ConnectedDisplayDetails(*record));
  image.ClearModified();
}

void MainWindowCore::RemoveDisplayOverride() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return;
  }
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return;
  if (!displays.RemoveDisplayOverride(*record)) {
    ui.ShowMessage("Failed to remove the EDID override. Check Initialization log");
  }
}

std::optional<MainWindowCore::BootTarget> MainWindowCore::ChooseBootTarget() {
  if (displays.ConnectedRecords().empty()) {
    ui.ShowMessage("No connected displays detected");
    return std::nullopt;
  }
  const std::optional<size_t> record = ChooseConnectedDisplay();
  if (!record) return std::nullopt;
  std::string why = "The display library does not name the display's connector";
  const std::optional<std::string> connector = displays.ConnectorName(*record);
  const std::optional<std::string> root = connector ? boot::SystemRoot(why) : std::nullopt;
  if (!root) {
    ui.ShowMessage(why);
    return std::nullopt;
  }
  return BootTarget{*record, *connector, *root};
}

void MainWindowCore::InstallBootOverride() {
  if (!CanSendImage()) return;
  const std::optional<BootTarget> target = ChooseBootTarget();
  if (!target) return;
  const std::string edid(reinterpret_cast<const char*>(image.rawData.data()), image.GetUsedSize());
  std::string why;
  const std::optional<boot::Plan> plan = boot::PlanInstall(target->root, target->connector, edid, why);
  if (!plan) {
    ui.ShowMessage(why);
    return;
  }
  if (!ui.AskOkCancel("Installing the boot-time EDID override of " + target->connector +
                      " (administrator's password needed) will:\n" + boot::Describe(*plan))) {
    return;
  }
  if (!displays.InstallBootOverride(target->record, edid)) {
    ui.ShowMessage("Failed to install the boot-time EDID override. Check Initialization log");
    return;
  }
  ui.ShowMessage("The boot-time EDID override of " + target->connector +
                 " is installed. After the next boot, \"Check boot-time EDID override\" tells whether the display "
                 "reports it.");
}

void MainWindowCore::RemoveBootOverride() {
  const std::optional<BootTarget> target = ChooseBootTarget();
  if (!target) return;
  std::string why;
  const std::optional<boot::Plan> plan = boot::PlanRemove(target->root, target->connector, why);
  if (!plan) {
    ui.ShowMessage(why);
    return;
  }
  if (!ui.AskOkCancel("Removing the boot-time EDID override of " + target->connector +
                      " (administrator's password needed) will:\n" + boot::Describe(*plan))) {
    return;
  }
  if (!displays.RemoveBootOverride(target->record)) {
    ui.ShowMessage("Failed to remove the boot-time EDID override. Check Initialization log");
    return;
  }
  ui.ShowMessage("The boot-time EDID override of " + target->connector +
                 " is removed: the display shows the monitor's own EDID again from the next boot.");
}

void MainWindowCore::CheckBootOverride() {
  const std::optional<BootTarget> target = ChooseBootTarget();
  if (!target) return;
  std::array<uint8_t, kMaxEdidSize> bytes{};
  const int total = displays.ReadDisplayEdid(target->record, bytes);
  const std::string current(reinterpret_cast<const char*>(bytes.data()),
                            total > 0 ? std::min(static_cast<size_t>(total), bytes.size()) : 0);
  std::string report;
  boot::CheckEffect(target->root, target->connector, current, report);
  ui.ShowMessage(report);
}

void MainWindowCore::ReadEmulatedEdidFromRegistry() {
  if (displays.Table().empty()) {
    ui.ShowMessage("No supported displays detected");
    return;
  }
  if (!AnyValueExists()) {
    ShowStoreFailure("No emulated display registry present");
    return;
  }
  if (!ConfirmDiscard()) return;
  const std::optional<ValueChoice> choice = ChooseExistingValue();
  if (!choice) return;
  // The value is read aside first: a failed read leaves the image as it was.
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  LoadResult result;
  unsigned size = 0;
  if (!keyPath || !store.ReadValue(*keyPath, ValueNameOf(*choice), result.bytes, size)) {
    result = LoadResult::Failed(LoadStatus::CannotOpen);
  }
  result.length = size;
  if (image.Load(result, SourceKind::RegistryValue, RegistryDetails(*choice, keyPath.value_or("")))) {
    sourceKeyPath = *keyPath;
    sourceValueName = ValueNameOf(*choice);
  } else if (!store.Refusal().empty()) {
    // Why the store would not use its folder at all.
    ui.ShowMessage(store.Refusal());
  }
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
    ShowStoreFailure("Failed to write registry");
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
    ShowStoreFailure("No emulated display registry present");
    return;
  }
  const std::optional<ValueChoice> choice = ChooseExistingValue();
  if (!choice) return;
  const std::optional<std::string> keyPath = displays.RegistryPath(choice->record);
  const std::string valueName = ValueNameOf(*choice);
  if (!keyPath || !store.DeleteValue(*keyPath, valueName)) {
    ShowStoreFailure("Failed to delete registry");
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

SourceDetails MainWindowCore::ConnectedDisplayDetails(size_t record) const {
  SourceDetails details;
  if (record < displays.Table().size()) {
    const DisplayRecord& display = displays.Table()[record];
    details.displayName = display.name;
    details.displayIndex = static_cast<unsigned>(display.displayIndex);
    details.adapterPosition = static_cast<unsigned>(display.adapterIndex);
  }
  return details;
}

SourceDetails MainWindowCore::RegistryDetails(const ValueChoice& choice, const std::string& keyPath) const {
  SourceDetails details;
  details.registryValueName = ValueNameOf(choice);
  details.displayIndex = static_cast<unsigned>(displays.Table()[choice.record].displayIndex);
  details.registryPath = keyPath;
  return details;
}

void MainWindowCore::SetRegistrySource(const ValueChoice& choice, const std::string& keyPath) {
  sourceKeyPath = keyPath;
  sourceValueName = ValueNameOf(choice);
  image.SetSource(SourceKind::RegistryValue, RegistryDetails(choice, keyPath));
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

void MainWindowCore::ShowStoreFailure(const char* message) {
  ui.ShowMessage(message);
  // Why the store would not use its folder at all.
  if (!store.Refusal().empty()) ui.ShowMessage(store.Refusal());
}

void MainWindowCore::ShowModes() { ui.ShowModes(this); }

void MainWindowCore::ShowSummary() { ui.ShowContent(this, kContentSummary); }

void MainWindowCore::GenerateErrorsReport() { ui.ShowContent(this, kContentErrorsReport); }

void MainWindowCore::EditRawData() {
  const std::array<uint8_t, kMaxEdidSize> before = image.rawData;
  if (!ui.EditRawData(this, image.rawData.data(), kMaxEdidSize)) return;
  image.Rebuild();
  if (image.BlockCount() > 0) {
    image.AfterRawEdit(before);
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
