#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/BlockKind.h"
#include "app/UndoHistory.h"
#include "common/Callbacks.h"
#include "common/SourceKind.h"
#include "blocks/DataBlock.h"
#include "storage/LoadResult.h"

namespace velmar {

class BlockPage;
class Clock;
class UserInterface;

// What the main window's labels show about the image's source.
struct SourceLabels {
  std::string source = "None";
  std::string pathCaption;
  std::string path;
  std::string modifiedMark;
};

// Which of the block buttons are enabled.
struct BlockButtons {
  bool addBlock = false;
  bool removeBlock = false;
  bool showModes = false;
};

// Told about everything a view of the image shows: pages, the active page,
// the page area's visibility, the labels and the buttons.
class ImageObserver {
 public:
  virtual ~ImageObserver() = default;
  // `page` was appended as the last entry.
  virtual void OnPageAdded(BlockPage* page) = 0;
  // `page` leaves the list and is destroyed right after this call.
  virtual void OnPageRemoved(BlockPage* page) = 0;
  // `page` (null for none) became the active page.
  virtual void OnActivePageChanged(BlockPage* page) = 0;
  virtual void OnPageAreaShown(bool shown) = 0;
  // The labels, the modified mark or the buttons changed.
  virtual void OnStateChanged() = 0;
};

// The one EDID image: a 512-byte buffer split into up to 8 blocks, each shown by
// its page and decoded in place by the page's model.
class EdidImage : public CallbackContext {
  alignas(8) std::array<uint8_t, 64> guardBeforeImage_{};

 public:
  // `pageOwner` is what the pages and models call back (the main window);
  // null makes the image itself the owner.
  explicit EdidImage(UserInterface& ui, CallbackContext* pageOwner = nullptr);
  ~EdidImage() override;
  EdidImage(const EdidImage&) = delete;
  EdidImage& operator=(const EdidImage&) = delete;

  // The image. Bytes past the used size are zero after a load and after RelayoutBlocks.
  alignas(8) std::array<uint8_t, kMaxEdidSize> rawData{};

 private:
  // Poisoned under AddressSanitizer (with guardBeforeImage_), so that a model
  // reading or writing just outside the image is reported instead of touching
  // the fields around it.
  alignas(8) std::array<uint8_t, 64> guardAfterImage_{};

 public:
  // End offset of the last entry; 0 without entries.
  unsigned GetUsedSize() const;
  // Discards every entry and splits rawData into new ones. Leaves the source and
  // the modified flag alone.
  void Rebuild();
  // Attaches `page` to the bytes at `start` and appends it; false (with the
  // message) when the page refuses them. The page is kept only on success.
  bool AppendBlock(std::unique_ptr<BlockPage> page, unsigned start, unsigned room);
  // The "Add Block" and "Remove Block" commands.
  void AddBlock();
  void RemoveBlock();
  void UpdateButtons();
  void SetSource(SourceKind kind, const SourceDetails& details = SourceDetails());
  // Where every load ends, whatever it read from: the message of a failed
  // status, then the modified flag cleared, the bytes replaced (all zero after
  // a failure), the blocks rebuilt and `kind` with `details` as the source.
  // When nothing could be read (CannotOpen) only the message is shown and the
  // image stays as it was; returns false then, true otherwise.
  bool Load(const LoadResult& result, SourceKind kind, const SourceDetails& details);
  // A file that holds no EDID byte at all (empty, or an INF or REG file
  // without an EDID value) loads the empty image with a message saying so.
  void SayWhenAFileHoldsNoEdid(bool say) { sayWhenNoEdid = say; }
  // The source gave `length` bytes (a load ends with this, after SetSource,
  // which forgets the last source's length). When the EDID it holds is longer
  // than the image (the source filled the 512 bytes and its base block, or an
  // HDMI Forum EEODB block, announces more blocks than fit), shows and keeps
  // a note of how many blocks and bytes were left out.
  void NoteSourceLength(size_t length);
  // What the last load gave: its length (0 when unknown) and the note of
  // what the image could not keep (empty when it kept everything).
  size_t SourceLength() const { return sourceLength; }
  const std::string& SourceLengthNote() const { return sourceLengthNote; }
  // The note NoteSourceLength keeps for `length` bytes of a source whose
  // first 512 are `data`; empty when the image holds the whole EDID.
  static std::string LengthNote(const uint8_t* data, size_t length);
  // The file the image was loaded from or last saved to (empty for other sources).
  const std::string& SourceFile() const { return sourceFile; }
  // The blocks the bytes of `data` (512) announce: the base block's count
  // plus one, or the count of an HDMI Forum EEODB block in the first CEA
  // extension plus one when that is larger; 0 without an EDID base block.
  static unsigned AnnouncedBlocks(const uint8_t* data);

  // After the raw data editor wrote rawData and the blocks were rebuilt:
  // each page sees its bytes as they were in `before` (AfterRawEdit).
  void AfterRawEdit(const std::array<uint8_t, kMaxEdidSize>& before);
  // Loaders start with this: modified cleared, every byte zero. The next
  // Checkpoint starts a new undo history at the loaded bytes.
  void ResetForLoad();
  // Shows "None" as the source and empties the path caption and label; the
  // modified mark and the source kind stay as they are.
  void ShowNoSourceLabels();

  // CallbackContext
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override;
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override;
  void RelayoutBlocks() override;
  void SetModified() override;

  unsigned BlockCount() const { return blockCount; }
  BlockPage* GetPage(unsigned index) const;
  unsigned BlockEnd(unsigned index) const { return index < kMaxBlocks ? blockEnds[index] : 0; }
  SourceKind GetSourceKind() const { return sourceKind; }
  const SourceDetails& GetSourceDetails() const { return sourceDetails; }
  bool IsModified() const { return modified; }
  // The image was written out: nothing unsaved, and these bytes are the saved state.
  void ClearModified();
  // Sets the flag alone; the modified mark stays as it is.
  void SetModifiedFlag(bool value) { modified = value; }
  const SourceLabels& Labels() const { return labels; }
  const BlockButtons& Buttons() const { return buttons; }
  bool PageAreaShown() const { return pageAreaShown; }

  // The active page's position, or -1 when none is active.
  int ActiveIndex() const { return activeIndex; }
  // Makes the page at `index` the active one (-1 for none).
  void SetActivePage(int index);

  // Undo and redo. The bytes are the whole state: a user's action that
  // changed them, however it did (an editor dialog, a page's add or remove, a
  // block added or removed, the raw data editor), is one step, recorded by the
  // Checkpoint that follows the action. Checkpoint after a load starts a new
  // history. Undo and Redo restore the bytes through Rebuild; back at the
  // state last loaded or saved the image is no longer modified.
  void Checkpoint();
  bool CanUndo() const { return history.CanUndo(); }
  bool CanRedo() const { return history.CanRedo(); }
  void Undo();
  void Redo();
  const UndoHistory& History() const { return history; }

  void SetObserver(ImageObserver* imageObserver) { observer = imageObserver; }
  // The clock of the errors report's time line.
  void SetClock(const Clock* reportClock) { clock = reportClock; }
  UserInterface& Ui() const { return ui; }
  CallbackContext* PageOwner() const { return pageOwner; }

  // How many extensions the first block announces beyond the entries that
  // follow it (0 when none are missing). Such an image is never sent to a
  // display as it stands.
  unsigned MissingExtensionCount() const;
  // The message that refuses to send such an image.
  std::string IncompleteImageMessage() const;

  // The kind of block that may stand first in `data` (the whole 512 bytes).
  static std::optional<BlockKind> RecognizeFirstBlock(const uint8_t* data);

  // Label and dump texts used by the main window and the command line.
  void AppendSummary(CallbackFillContentTgt* target);
  void AppendErrorsReport(CallbackFillContentTgt* target);

 private:
  // The kind of the extension at `start`, or none (the caller reports the failure).
  std::optional<BlockKind> RecognizeExtension(unsigned start, unsigned room) const;
  void ClearEntries();
  void PoisonGuards(bool poisoned);
  void ShowPageArea(bool shown);
  void NotifyState();
  // Puts the history's current bytes in place and shows them.
  void RestoreFromHistory();

  UserInterface& ui;
  CallbackContext* pageOwner = nullptr;
  std::array<uint32_t, kMaxBlocks> blockEnds{};
  std::array<std::unique_ptr<BlockPage>, kMaxBlocks> entries;
  uint32_t blockCount = 0;
  SourceKind sourceKind = SourceKind::Custom;
  bool modified = false;
  // What the source labels were last made from.
  SourceDetails sourceDetails;
  bool sayWhenNoEdid = false;
  UndoHistory history;
  bool loadPending = false;

  int activeIndex = -1;
  bool pageAreaShown = false;
  SourceLabels labels;
  BlockButtons buttons;
  ImageObserver* observer = nullptr;
  const Clock* clock = nullptr;
  size_t sourceLength = 0;
  std::string sourceLengthNote;
  std::string sourceFile;
  // Set while a load of a longer source rebuilds the blocks.
  bool truncatedLoad = false;
};

}  // namespace velmar
