#include "app/EdidImage.h"

#include <algorithm>
#include <cstring>

#include "app/RawDataReport.h"
#include "common/UserInterface.h"
#include "blocks/DisplayIDBlock.h"
#include "blocks/Edid13Block.h"
#include "blocks/OpaqueExtBlock.h"
#include "pages/BlockPage.h"
#include "storage/FileFormat.h"
#include "storage/FileIO.h"
#include "util/Clock.h"
#include "util/Format.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELMAR_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMAR_HAS_ASAN 1
#endif
#endif
#ifndef VELMAR_HAS_ASAN
#define VELMAR_HAS_ASAN 0
#endif
#if VELMAR_HAS_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace velmar {

namespace {

constexpr char kFailedBlock[] = "Failed to create Block";
constexpr char kFailedBase[] = "Failed to create Base Block";
constexpr char kFailedExtension[] = "Failed to create Extension Block";
constexpr char kFailedDisplayRead[] = "Failed to read EDID from driver. Check Initialization log";

bool HasEdidHeader(const uint8_t* data) { return std::memcmp(data, kEdidHeader, kEdidHeaderLength) == 0; }

// The folder part of a path: everything before the last "/" (the whole path
// when it has none).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

EdidImage::EdidImage(UserInterface& userInterface, CallbackContext* owner)
    : ui(userInterface), pageOwner(owner != nullptr ? owner : this) {
  PoisonGuards(true);
}

EdidImage::~EdidImage() {
  // Pages go before the buffer their models point into.
  for (auto& entry : entries) entry.reset();
  PoisonGuards(false);
}

void EdidImage::PoisonGuards(bool poisoned) {
#if VELMAR_HAS_ASAN
  for (auto* guard : {&guardAfterImage_, &guardBeforeImage_}) {
    if (poisoned) {
      ASAN_POISON_MEMORY_REGION(guard->data(), guard->size());
    } else {
      ASAN_UNPOISON_MEMORY_REGION(guard->data(), guard->size());
    }
  }
#else
  (void)poisoned;
#endif
}

unsigned EdidImage::GetUsedSize() const { return blockCount == 0 ? 0 : blockEnds[blockCount - 1]; }

unsigned EdidImage::MissingExtensionCount() const {
  if (blockCount == 0) return 0;
  const unsigned announced = entries[0]->GetExtensionCount();
  return announced > blockCount - 1 ? announced - (blockCount - 1) : 0;
}

std::string EdidImage::IncompleteImageMessage() const {
  return Format("Not sent: the base block announces %u extension blocks but the image holds %u",
                blockCount > 0 ? entries[0]->GetExtensionCount() : 0u, blockCount > 0 ? blockCount - 1 : 0u);
}

BlockPage* EdidImage::GetPage(unsigned index) const {
  return index < blockCount ? entries[index].get() : nullptr;
}

std::optional<BlockKind> EdidImage::RecognizeFirstBlock(const uint8_t* data) {
  if (DisplayIDBlock::IsBaseVersion(data[0]) && data[1] <= DisplayIDBlock::kMaxPayload) {
    return BlockKind::DisplayIdBase;
  }
  if (HasEdidHeader(data) && data[kEdidVersionByte] == 1) {
    if (data[kEdidRevisionByte] == 4) return BlockKind::Edid14Base;
    if (data[kEdidRevisionByte] <= 3) return BlockKind::Edid13Base;
  }
  if (data[0] == DisplayIDBlock::kExtensionTag && DisplayIDBlock::IsExtensionVersion(data[1]) &&
      data[2] <= DisplayIDBlock::kMaxPayload) {
    return BlockKind::DisplayIdExtension;
  }
  if (data[0] == 0x02) return BlockKind::CeaExtension;
  if (data[0] == 0x40) return BlockKind::DiExtension;
  return std::nullopt;
}

std::optional<BlockKind> EdidImage::RecognizeExtension(unsigned start, unsigned room) const {
  const uint8_t* q = rawData.data() + start;
  if (room >= 5 && q[0] == DisplayIDBlock::kExtensionTag) {
    if (room < kBlockSize) return std::nullopt;
    if (DisplayIDBlock::IsExtensionVersion(q[1]) && q[2] <= DisplayIDBlock::kMaxPayload && q[2] <= room) {
      return BlockKind::DisplayIdExtension;
    }
  }
  if (room < kBlockSize) return std::nullopt;
  if (q[0] == 0x02) return BlockKind::CeaExtension;
  if (q[0] == 0x40) return BlockKind::DiExtension;
  // Any other extension block is kept as it is, so that neither it nor the
  // blocks after it are lost. A zero tag is no extension: it starts a run of
  // zeros or a second base block.
  if (OpaqueExtBlock::Accepts(q, room)) return BlockKind::OpaqueExtension;
  return std::nullopt;
}

void EdidImage::ClearEntries() {
  const bool hadEntries = blockCount > 0;
  SetActivePage(-1);
  for (unsigned i = 0; i < blockCount; ++i) {
    if (observer != nullptr) observer->OnPageRemoved(entries[i].get());
    entries[i].reset();
  }
  blockCount = 0;
  blockEnds.fill(0);
  if (hadEntries) ShowPageArea(false);
}

void EdidImage::Rebuild() {
  ClearEntries();

  const std::optional<BlockKind> first = RecognizeFirstBlock(rawData.data());
  if (!first) {
    const bool allZero = std::all_of(rawData.begin(), rawData.end(), [](uint8_t b) { return b == 0; });
    if (!allZero) ui.ShowMessage(kFailedBase);
    UpdateButtons();
    return;
  }
  if (!AppendBlock(CreatePage(*first, 0, pageOwner, &ui), 0, kMaxEdidSize)) {
    ui.ShowMessage(kFailedBase);
    UpdateButtons();
    return;
  }

  const unsigned announced = entries[0]->GetExtensionCount();
  bool complete = true;
  for (unsigned n = 0; n < announced; ++n) {
    const unsigned start = GetUsedSize();
    const unsigned room = kMaxEdidSize - start;
    const std::optional<BlockKind> kind = blockCount < kMaxBlocks ? RecognizeExtension(start, room) : std::nullopt;
    if (!kind) {
      // A block past the end of a longer source's image is the load's note to tell.
      if (!(truncatedLoad && room < kBlockSize)) ui.ShowMessage(kFailedExtension);
      complete = false;
      break;
    }
    if (!AppendBlock(CreatePage(*kind, blockCount, pageOwner, &ui), start, room)) {
      ui.ShowMessage(kFailedExtension);
      complete = false;
      break;
    }
  }
  if (complete) SetActivePage(0);
  UpdateButtons();
}

bool EdidImage::AppendBlock(std::unique_ptr<BlockPage> page, unsigned start, unsigned room) {
  if (page == nullptr || blockCount >= kMaxBlocks || start > kMaxEdidSize) return false;
  room = std::min(room, kMaxEdidSize - start);
  if (!page->AttachBlock(rawData.data() + start, room, start)) {
    ui.ShowMessage(kFailedBlock);
    return false;
  }
  const unsigned index = blockCount;
  blockEnds[index] = start + page->GetSize();
  entries[index] = std::move(page);
  ++blockCount;
  if (observer != nullptr) observer->OnPageAdded(entries[index].get());
  ShowPageArea(true);
  SetActivePage(static_cast<int>(index));
  return true;
}

void EdidImage::AddBlock() {
  const unsigned start = GetUsedSize();
  const unsigned room = kMaxEdidSize - start;
  if (blockCount >= kMaxBlocks) {
    ui.ShowMessage("Maximal number of blocks achieved");
    return;
  }
  std::optional<BlockKind> kind;
  if (blockCount == 0) {
    const unsigned choice = ui.SelectItem(pageOwner, kContentSelectBaseOrExtension);
    if (choice < kBlockKindCount) kind = static_cast<BlockKind>(choice);
  } else {
    const unsigned choice = ui.SelectItem(pageOwner, kContentSelectExtension);
    if (choice < 3) kind = static_cast<BlockKind>(choice + 3);
  }
  if (kind && room > 0 && InitDefaultBytesOf(*kind, rawData.data() + start, room)) {
    if (!AppendBlock(CreatePage(*kind, blockCount, pageOwner, &ui), start, room)) {
      std::fill(rawData.begin() + start, rawData.end(), 0);
      ui.ShowMessage(kFailedBlock);
      return;
    }
    entries[0]->SetExtensionCount(blockCount - 1);
  }
  if (blockCount == 1) SetSource(SourceKind::Custom);
  UpdateButtons();
  SetModified();
}

void EdidImage::RemoveBlock() {
  if (blockCount == 0) {
    ui.ShowMessage("No blocks to remove");
    return;
  }
  const int active = activeIndex;
  if (active < 0 || static_cast<unsigned>(active) >= blockCount) {
    ui.ShowMessage("No active blocks to remove");
    return;
  }
  const unsigned i = static_cast<unsigned>(active);
  if (i == 0 && blockCount >= 2) {
    ui.ShowMessage("Cannot remove base block while extension blocks exist");
    return;
  }
  if (!ui.AskOkCancel(Format("Removing \"%s\"\r\nAre you sure?", entries[i]->GetTitle().c_str()))) return;

  SetActivePage(-1);
  if (observer != nullptr) observer->OnPageRemoved(entries[i].get());
  entries[i].reset();
  for (unsigned k = i + 1; k < blockCount; ++k) {
    entries[k - 1] = std::move(entries[k]);
    entries[k - 1]->SetIndex(k - 1);
  }
  entries[blockCount - 1].reset();
  --blockCount;

  if (blockCount == 0) {
    ShowPageArea(false);
    SetSource(SourceKind::Custom);
    modified = false;
  } else {
    entries[0]->SetExtensionCount(blockCount - 1);
  }
  RelayoutBlocks();
  // The tab that takes the removed one's place becomes current.
  if (blockCount > 0) SetActivePage(static_cast<int>(std::min(i, blockCount - 1)));
  UpdateButtons();
}

void EdidImage::RelayoutBlocks() {
  if (blockCount > 0) blockEnds[0] = std::min(entries[0]->GetSize(), kMaxEdidSize);
  for (unsigned i = 1; i < blockCount; ++i) {
    const unsigned newStart = blockEnds[i - 1];
    const unsigned oldStart = entries[i]->GetOffset();
    unsigned size = entries[i]->GetSize();
    // Never move bytes from or to outside the buffer, whatever a model answers.
    size = std::min({size, kMaxEdidSize - newStart, kMaxEdidSize - std::min(oldStart, kMaxEdidSize)});
    blockEnds[i] = newStart + size;
    if (size > 0 && oldStart != newStart) std::memmove(rawData.data() + newStart, rawData.data() + oldStart, size);
    entries[i]->AttachBlock(rawData.data() + newStart, kMaxEdidSize - newStart, newStart);
  }
  std::fill(rawData.begin() + GetUsedSize(), rawData.end(), 0);
}

void EdidImage::SetModified() {
  if (sourceKind != SourceKind::Custom) labels.modifiedMark = "[Modified]";
  modified = true;
  NotifyState();
}

void EdidImage::UpdateButtons() {
  buttons.addBlock = blockCount < kMaxBlocks &&
                     (blockCount == 0 || (entries[0]->IsBaseBlock() && GetUsedSize() < kMaxEdidSize));
  buttons.removeBlock = blockCount != 0;
  buttons.showModes = blockCount != 0;
  NotifyState();
}

void EdidImage::SetSource(SourceKind kind, const SourceDetails& details) {
  sourceKind = kind;
  // A new source holds what the image holds; a load notes its own length after this.
  sourceLength = 0;
  sourceLengthNote.clear();
  sourceFile = details.file;
  sourceDetails = details;
  labels.source = "None";
  labels.pathCaption.clear();
  labels.path.clear();
  labels.modifiedMark.clear();
  if (blockCount > 0) {
    switch (kind) {
      case SourceKind::Custom:
        labels.source = "Custom";
        break;
      case SourceKind::RegistryValue:
        labels.source = Format("%s (Registry Value for Display[%u])", details.registryValueName.c_str(),
                               details.displayIndex);
        labels.pathCaption = "Reg Path:";
        labels.path = details.registryPath;
        break;
      case SourceKind::ConnectedDisplay:
        labels.source =
            Format("%s (Connected Display[%u])", details.displayName.c_str(), details.displayIndex);
        labels.pathCaption = "Adapter:";
        labels.path = Format("%u", details.adapterPosition);
        break;
      case SourceKind::InfFile:
      case SourceKind::RegFile:
      case SourceKind::BinFile:
      case SourceKind::TxtFile: {
        const FileFormat* format = FormatOf(kind);
        labels.source = Format("%s (%s File)", FileNameOf(details.file).c_str(), format != nullptr ? format->word : "");
        labels.pathCaption = "File Path:";
        labels.path = FolderOf(details.file);
        break;
      }
    }
  }
  NotifyState();
}

bool EdidImage::Load(const LoadResult& result, SourceKind kind, const SourceDetails& details) {
  if (result.status == LoadStatus::CannotOpen) {
    switch (kind) {
      case SourceKind::RegistryValue:
        ui.ShowMessage("Failed to read registry");
        break;
      case SourceKind::ConnectedDisplay:
        ui.ShowMessage(kFailedDisplayRead);
        break;
      default:
        ui.ShowMessage(ReadOpenFailureMessage(details.file, result.reason));
        break;
    }
    return false;
  }
  ResetForLoad();
  switch (result.status) {
    case LoadStatus::Ok:
      rawData = result.bytes;
      break;
    case LoadStatus::InvalidFormat:
      ui.ShowMessage("Invalid File Format");
      break;
    case LoadStatus::Overflow:
      ui.ShowMessage("Maximum EDID size overflow");
      break;
    case LoadStatus::NoData:
    case LoadStatus::CannotOpen:
      ui.ShowMessage(kFailedDisplayRead);
      break;
  }
  const std::string note = result.status == LoadStatus::Ok ? LengthNote(rawData.data(), result.length) : "";
  truncatedLoad = !note.empty();
  Rebuild();
  truncatedLoad = false;
  // In the desktop program a file without a single EDID byte says so, rather
  // than leave an empty window behind without a word.
  if (sayWhenNoEdid && result.status == LoadStatus::Ok && result.length == 0 && FormatOf(kind) != nullptr) {
    ui.ShowMessage(Format("No EDID in %s: the file holds no EDID bytes", details.file.c_str()));
  }
  SetSource(kind, details);
  if (result.status == LoadStatus::Ok) NoteSourceLength(result.length);
  return true;
}

void EdidImage::AfterRawEdit(const std::array<uint8_t, kMaxEdidSize>& before) {
  for (unsigned i = 0; i < blockCount; ++i) {
    const unsigned start = entries[i]->GetOffset();
    if (start + entries[i]->GetSize() <= kMaxEdidSize) entries[i]->AfterRawEdit(before.data() + start);
  }
}

unsigned EdidImage::AnnouncedBlocks(const uint8_t* data) {
  if (!HasEdidHeader(data)) return 0;
  unsigned extensions = data[kEdidExtensionCountByte];
  // An image with more extensions than byte 126 can count keeps 1 there and
  // the real count in an HDMI Forum EEODB data block (extended tag 0x78) of
  // its first CEA extension.
  const uint8_t* cea = data + kBlockSize;
  if (cea[0] == 0x02) {
    const unsigned end = cea[2] >= 4 ? std::min<unsigned>(cea[2], kBlockSize - 1) : kBlockSize - 1;
    for (unsigned at = 4; at < end;) {
      const unsigned tag = cea[at] >> 5;
      const unsigned length = cea[at] & 31u;
      if (tag == 0) break;
      if (tag == 7 && length >= 2 && at + 2 < kBlockSize && cea[at + 1] == 0x78) {
        extensions = std::max<unsigned>(extensions, cea[at + 2]);
        break;
      }
      at += length + 1;
    }
  }
  return extensions + 1;
}

std::string EdidImage::LengthNote(const uint8_t* data, size_t length) {
  // A source that filled the image holds the further blocks its blocks
  // announce; one that ended before them ends early, and bytes after the
  // blocks it announces are no part of the EDID.
  const unsigned blocks = AnnouncedBlocks(data);
  if (length < kMaxEdidSize || blocks <= kMaxEdidSize / kBlockSize) return std::string();
  return Format("The EDID holds %u blocks (%u bytes); only the first %u (%u bytes) are kept", blocks,
                blocks * kBlockSize, kMaxEdidSize / kBlockSize, kMaxEdidSize);
}

void EdidImage::NoteSourceLength(size_t length) {
  sourceLength = length;
  sourceLengthNote = LengthNote(rawData.data(), length);
  if (!sourceLengthNote.empty()) ui.ShowMessage(sourceLengthNote);
}

void EdidImage::ResetForLoad() {
  modified = false;
  sourceLength = 0;
  sourceLengthNote.clear();
  rawData.fill(0);
  loadPending = true;
}

void EdidImage::ClearModified() {
  modified = false;
  history.MarkSaved(rawData);
}

void EdidImage::Checkpoint() {
  const bool couldUndo = history.CanUndo();
  const bool couldRedo = history.CanRedo();
  if (loadPending) {
    loadPending = false;
    history.Reset(rawData);
  } else {
    history.Record(rawData);
  }
  if (couldUndo != history.CanUndo() || couldRedo != history.CanRedo()) NotifyState();
}

void EdidImage::Undo() {
  Checkpoint();
  if (history.Undo()) RestoreFromHistory();
}

void EdidImage::Redo() {
  Checkpoint();
  if (history.Redo()) RestoreFromHistory();
}

void EdidImage::RestoreFromHistory() {
  const int active = activeIndex;
  rawData = history.Current();
  Rebuild();
  if (active >= 0 && static_cast<unsigned>(active) < blockCount) SetActivePage(active);
  // The labels as the source gives them for these blocks, then the mark.
  SetSource(sourceKind, SourceDetails(sourceDetails));
  // An image of zeros holds nothing to lose.
  const bool allZero = std::all_of(rawData.begin(), rawData.end(), [](uint8_t b) { return b == 0; });
  if (history.IsSaved(rawData) || allZero) {
    modified = false;
    NotifyState();
  } else {
    SetModified();
  }
}

void EdidImage::ShowNoSourceLabels() {
  labels.source = "None";
  labels.pathCaption.clear();
  labels.path.clear();
  NotifyState();
}

void EdidImage::SetActivePage(int index) {
  if (index >= static_cast<int>(blockCount)) index = -1;
  if (index == activeIndex) return;
  if (activeIndex >= 0 && static_cast<unsigned>(activeIndex) < blockCount && entries[activeIndex]) {
    entries[activeIndex]->Deactivate();
  }
  activeIndex = index < 0 ? -1 : index;
  BlockPage* page = activeIndex >= 0 ? entries[activeIndex].get() : nullptr;
  if (page != nullptr) page->Activate();
  if (observer != nullptr) observer->OnActivePageChanged(page);
}

void EdidImage::ShowPageArea(bool shown) {
  if (pageAreaShown == shown) return;
  pageAreaShown = shown;
  if (observer != nullptr) observer->OnPageAreaShown(shown);
}

void EdidImage::NotifyState() {
  if (observer != nullptr) observer->OnStateChanged();
}

void EdidImage::FillContent(CallbackFillContentTgt* target, unsigned kind) {
  if (target == nullptr) return;
  switch (kind) {
    case kContentSelectBaseOrExtension:
      target->SetTitle("Select Base/Extension Block to create");
      for (unsigned k = 0; k < kBlockKindCount; ++k) target->Append(BlockChoiceText(static_cast<BlockKind>(k)));
      break;
    case kContentSelectExtension:
      target->SetTitle("Select Extension Block to create");
      for (unsigned k = 3; k < kBlockKindCount; ++k) target->Append(BlockChoiceText(static_cast<BlockKind>(k)));
      break;
    case kContentSummary:
      AppendSummary(target);
      break;
    case kContentModes:
      for (unsigned i = 0; i < blockCount; ++i) entries[i]->CollectModes(target);
      break;
    case kContentErrorsReport:
      AppendErrorsReport(target);
      break;
    default:
      break;
  }
}

void EdidImage::AppendSummary(CallbackFillContentTgt* target) {
  target->SetTitle("EDID Data Summary");
  AppendRawDump(target, rawData.data(), blockCount > 0 ? GetUsedSize() : kMaxEdidSize);
  for (unsigned i = 0; i < blockCount; ++i) entries[i]->AppendSummary(target);
}

void EdidImage::AppendErrorsReport(CallbackFillContentTgt* target) {
  target->SetTitle("EDID Errors Report");
  const LocalTime now = (clock != nullptr ? *clock : SystemClockInstance()).Now();
  target->AppendFormatted("REPORT  GENERATED: %02u:%02u:%02u, %02u/%02u/%04u\r\n", now.hour, now.minute,
                        now.second, now.month, now.day, now.year);
  unsigned total = 0;
  for (unsigned i = 0; i < blockCount; ++i) total += entries[i]->Validate(target);
  total += ValidateNonMappedData(*this, target);
  target->AppendFormatted("\r\nVERDICT: %u ERRORS FOUND\r\nEND OF REPORT\r\n", total);
}

void EdidImage::DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) {
  for (unsigned i = 0; i < blockCount; ++i) {
    if (blockEnds[i] > index) {
      entries[i]->DescribeByte(index, name, group, blockLabel);
      return;
    }
  }
}

}  // namespace velmar
