#include "app/MainWindowCore.h"

#include <algorithm>

#include "app/UserInterface.h"
#include "storage/BinFile.h"
#include "storage/FileIO.h"
#include "storage/TxtFile.h"
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

void MainWindowCore::Initialize() {
  image.UpdateButtons();
  image.SetSource(SourceKind::Custom);
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
  image.FillContent(target, kind);
}

void MainWindowCore::DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) {
  image.DescribeByte(index, name, group, blockLabel);
}

void MainWindowCore::RelayoutBlocks() { image.RelayoutBlocks(); }

void MainWindowCore::SetModified() { image.SetModified(); }

}  // namespace velmar
