#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/Callbacks.h"
#include "common/UserInterface.h"

namespace velmar {
class EdidImage;
}

namespace velmar::fuzz {

// Stops the run with a message when an invariant does not hold; libFuzzer and
// the unit tests both see the abort.
#define VELMAR_FUZZ_CHECK(condition)                                                    \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)

// A user interface that shows nothing and answers from a byte source, so that
// commands run their questions and choices with fuzzed answers.
class FuzzUserInterface : public UserInterface {
 public:
  // `next` gives the next answer byte (0 when the input is used up).
  explicit FuzzUserInterface(uint8_t (*next)(void*) = nullptr, void* source = nullptr)
      : next_(next), source_(source) {}

  void ShowMessage(const std::string& text) override { (void)text; }
  bool AskOkCancel(const std::string& text) override {
    (void)text;
    return Next() % 2 == 0;
  }
  std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override {
    (void)request;
    return std::nullopt;
  }
  std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override {
    (void)request;
    return std::nullopt;
  }
  unsigned SelectItem(CallbackContext* owner, unsigned kind) override {
    ContentCollector list;
    if (owner != nullptr) owner->FillContent(&list, kind);
    const uint8_t answer = Next();
    return answer == 0xFF || list.items.empty() ? kNoSelection : answer % list.items.size();
  }
  void ShowContent(CallbackContext* owner, unsigned kind) override {
    ContentCollector viewer;
    if (owner != nullptr) owner->FillContent(&viewer, kind);
  }
  void ShowModes(CallbackContext* owner) override {
    ContentCollector modes;
    if (owner != nullptr) owner->FillContent(&modes, kContentModes);
  }
  bool EditRawData(CallbackContext* owner, uint8_t* rawData, unsigned length) override {
    (void)owner, (void)rawData, (void)length;
    return false;
  }
  // Changes a few fields with fuzzed values, presses a button now and then,
  // and answers OK or Cancel.
  bool EditForm(EditorForm& form) override;

 private:
  uint8_t Next() { return next_ != nullptr ? next_(source_) : 0; }

  uint8_t (*next_)(void*);
  void* source_;
};

// Every view of the image: data summary, errors report, modes list (and a
// sort), the byte map of all 512 bytes, and the four writers; checks the
// image's invariants and that the text and binary writers read back.
void RunAllViews(EdidImage& image);

// Writes the image in each of the four file formats and reads every file
// back, checking that the used bytes come back unchanged.
void CheckRoundTrips(const EdidImage& image);

// The invariants every image keeps whatever its bytes: entries contiguous from
// offset 0 and ending at the used size, every entry within the buffer.
void CheckLayoutInvariants(const EdidImage& image);

}  // namespace velmar::fuzz
