#pragma once

#include <string>
#include <vector>

#include "common/ModeEntry.h"

namespace velmar {

// Content kinds of CallbackContext::FillContent.
enum ContentKind : unsigned {
  kContentSelectDisplay = 1,
  kContentSelectBaseOrExtension = 2,
  kContentSelectExtension = 3,
  kContentSummary = 4,
  kContentModes = 5,
  kContentSelectDescriptor = 6,
  kContentSelectDataBlock = 7,
  kContentErrorsReport = 8,
  kContentExistingEmulatedValues = 9,
  kContentAllEmulatedValues = 10,
};

// Receives content: the text viewer, the selection list and the modes list.
class CallbackFillContentTgt {
 public:
  virtual ~CallbackFillContentTgt() = default;
  virtual void SetTitle(const std::string& text) = 0;
  virtual void Append(const std::string& text) = 0;
  virtual void AddMode(const ModeEntry& mode) = 0;

  // Appends the printf-formatted text. The text is made in storage the target
  // keeps, so a document of many lines is not a string per line.
  void AppendFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  std::string formatted_;
};

// Implemented by the main window and by every block page.
class CallbackContext {
 public:
  virtual ~CallbackContext() = default;
  // Fills a viewer or a list with the content of the given kind.
  virtual void FillContent(CallbackFillContentTgt* target, unsigned kind) = 0;
  // Names the image byte at `index`: its name, its group and the block's label.
  virtual void DescribeByte(unsigned index, std::string& name, std::string& group,
                            std::string& blockLabel) = 0;
  // Recomputes the block positions after a block changed its size or was removed.
  virtual void RelayoutBlocks() = 0;
  // Marks the image as holding unsaved changes.
  virtual void SetModified() = 0;
};

// Told by the editable grid which cell became selected.
class CallbackNotify {
 public:
  virtual ~CallbackNotify() = default;
  virtual void OnCellSelected(int row, int column) = 0;
};

// A content target that keeps what it is given; used wherever text or modes are
// collected rather than shown (tests, the command line).
class ContentCollector : public CallbackFillContentTgt {
 public:
  void SetTitle(const std::string& text) override { title = text; }
  void Append(const std::string& text) override {
    text_ += text;
    items.push_back(text);
  }
  void AddMode(const ModeEntry& mode) override { modes.push_back(mode); }
  const std::string& Text() const { return text_; }

  std::string title;
  std::vector<std::string> items;
  std::vector<ModeEntry> modes;

 private:
  std::string text_;
};

}  // namespace velmar
