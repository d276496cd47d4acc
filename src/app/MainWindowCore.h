#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "app/EdidImage.h"
#include "display/DisplayAccess.h"
#include "display/EmulatedEdidStore.h"

namespace velmar {

class Clock;
class UserInterface;
struct FileDialogRequest;

// The toolkit-free main window: it owns the image and runs every command of
// the menus and buttons through the user-interface interface. The Qt window
// renders its state and forwards the user's clicks here.
class MainWindowCore : public CallbackContext {
 public:
  explicit MainWindowCore(UserInterface& ui);
  ~MainWindowCore() override;
  MainWindowCore(const MainWindowCore&) = delete;
  MainWindowCore& operator=(const MainWindowCore&) = delete;

  EdidImage& Image() { return image; }
  const EdidImage& Image() const { return image; }
  UserInterface& Ui() const { return ui; }

  // Start-up of the window once it exists: adapters and displays, buttons,
  // the source "None", then the file named by the first of `arguments` (the
  // program's arguments after its name), exactly as given.
  void Initialize(const std::vector<std::string>& arguments = {});
  // Closing: releases the display library. The destructor does it too.
  void Close() { displays.Release(); }

  // Runs one action of the user (a menu command, a button, a page's button)
  // as one undo step: whatever it changed in the image is recorded after it.
  void Perform(const std::function<void()>& action);
  // "Edit" menu.
  void Undo() { image.Undo(); }
  void Redo() { image.Redo(); }

  // The unsaved-data question; true when the command may go on.
  bool ConfirmDiscard();

  // "File" menu: the load and the save command of each file format (`kind`
  // is a file kind; FileFormats() lists them in the menu's order).
  void LoadFile(SourceKind kind);
  void SaveFile(SourceKind kind);
  // The formats the load and save keys use: the one the user last loaded or
  // saved with, else the loaded file's, else binary.
  SourceKind ShortcutLoadKind() const;
  SourceKind ShortcutSaveKind() const;

  // "Display" menu.
  void ReadEdidFromDisplay();
  void OverrideDisplayEdid();
  // "Remove display EDID override": the chosen display goes back to the
  // monitor's own EDID; the image is not touched.
  void RemoveDisplayOverride();
  // The boot-time override of the chosen display (BootOverride.h): the plan
  // is shown and must be accepted before the privileged helper carries it
  // out; the check compares the EDID the display reports with it.
  void InstallBootOverride();
  void RemoveBootOverride();
  void CheckBootOverride();
  void ReadEmulatedEdidFromRegistry();
  void OverrideEmulatedEdidRegistry();
  void DeleteEmulatedEdidRegistry();
  void ReinitGraphicsAdapterInfo();
  void ShowGraphicsAdaptersInitLog();

  DisplayAccess& Displays() { return displays; }
  EmulatedEdidStore& Store() { return store; }
  // The clock of the INF file's date and the errors report's time line.
  void SetClock(const Clock* commandClock);

  // Buttons.
  void AddBlock() { image.AddBlock(); }
  void RemoveBlock() { image.RemoveBlock(); }
  void ShowModes();
  void ShowSummary();
  void EditRawData();
  // "Misc" menu.
  void GenerateErrorsReport();

  // Shows the failure of a registry command, and the store's reason when it refused its folder.
  void ShowStoreFailure(const char* message);

  // CallbackContext
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  void RelayoutBlocks() override;
  void SetModified() override;

 private:

  // An emulated-EDID value of a display record.
  struct ValueChoice {
    size_t record = 0;
    bool analog = false;
  };
  void FillDisplayChoices(CallbackFillContentTgt* target);
  void FillExistingValueChoices(CallbackFillContentTgt* target);
  void FillAllValueChoices(CallbackFillContentTgt* target);
  // The record of a "Select Display" choice, or none on cancel.
  std::optional<size_t> ChooseConnectedDisplay();
  // The display a boot-time override command is about, its connector and the
  // root of the system's files; nothing when there is none (said so).
  struct BootTarget {
    size_t record = 0;
    std::string connector;
    std::string root;
  };
  std::optional<BootTarget> ChooseBootTarget();
  // A connected display to send to and an image fit to send (valid, with every
  // extension it announces); false, with the message shown, otherwise.
  bool CanSendImage();
  std::optional<ValueChoice> ChooseExistingValue();
  std::optional<ValueChoice> ChooseAnyValue();
  bool ValueExists(size_t record, bool analog) const;
  bool AnyValueExists() const;
  std::string ValueNameOf(const ValueChoice& choice) const;
  SourceDetails ConnectedDisplayDetails(size_t record) const;
  SourceDetails RegistryDetails(const ValueChoice& choice, const std::string& keyPath) const;
  void SetRegistrySource(const ValueChoice& choice, const std::string& keyPath);

  // A file dialog in the loaded file's folder; a save dialog also offers its name.
  FileDialogRequest DialogRequest(SourceKind kind, bool save) const;

  UserInterface& ui;
  const Clock* clock = nullptr;
  std::optional<SourceKind> lastLoadKind;
  std::optional<SourceKind> lastSaveKind;
  // The choices as the last selection lists showed them.
  std::vector<size_t> listedDisplays;
  std::vector<ValueChoice> listedValues;
  // The emulated value the image was last read from or written to.
  std::string sourceKeyPath;
  std::string sourceValueName;
  // Declared before the image: closing destroys the pages first, then releases the library.
  DisplayAccess displays;
  EmulatedEdidStore store;
  EdidImage image;
};

}  // namespace velmar
