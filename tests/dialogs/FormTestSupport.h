#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/EdidImage.h"
#include "dialogs/EditorForm.h"
#include "pages/BlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar::testing {

using FieldChanges = std::vector<std::pair<std::string, std::string>>;

// Sets the form's fields as given (each must be accepted) and presses OK;
// the message of OK, empty when it was accepted.
inline std::string RunOk(EditorForm& form, const FieldChanges& changes) {
  for (const auto& [name, value] : changes) {
    std::string error;
    EXPECT_TRUE(form.Assign(name, value, error)) << form.Address() << "." << name << "=" << value << ": " << error;
  }
  std::string message;
  form.Accept(message);
  return message;
}

// An image loaded from bytes, unmodified, with a scripted user interface.
class LoadedImage {
 public:
  explicit LoadedImage(const std::vector<uint8_t>& bytes) : image(ui) {
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kMaxEdidSize), image.rawData.begin());
    image.Rebuild();
    image.ClearModified();
    ui.Clear();
  }
  BlockPage* Page(unsigned index) { return image.GetPage(index); }
  std::string Summary(unsigned index) {
    ContentCollector text;
    if (BlockPage* page = Page(index)) page->AppendSummary(&text);
    return text.Text();
  }

  ScriptedUserInterface ui;
  EdidImage image;
};

// The positions where two images differ.
inline std::vector<unsigned> DifferingBytes(const std::array<uint8_t, kMaxEdidSize>& before,
                                            const std::array<uint8_t, kMaxEdidSize>& after) {
  std::vector<unsigned> positions;
  for (unsigned i = 0; i < kMaxEdidSize; ++i) {
    if (before[i] != after[i]) positions.push_back(i);
  }
  return positions;
}

}  // namespace velmar::testing
