#pragma once

// A CEA page over a block built for a test, and the editor forms it opens.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "blocks/CeaBlockBuilder.h"
#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"
#include "pages/CeaExtBlockPage.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"

namespace velmar::testing {

// A value that clears a list's choice instead of assigning an item.
inline constexpr const char* kNoChoice = "<no choice>";

using Changes = std::vector<std::pair<std::string, std::string>>;

// Makes `changes` in order; each must be taken.
inline void MakeChanges(EditorForm& form, const Changes& changes) {
  for (const auto& [name, value] : changes) {
    if (value == kNoChoice) {
      EXPECT_TRUE(form.Select(name, -1)) << name;
      continue;
    }
    std::string error;
    EXPECT_TRUE(form.Assign(name, value, error)) << name << "=" << value << ": " << error;
  }
}

const Bytes kHdmiOui = {0x03, 0x0C, 0x00};

// An HDMI vendor specific data block with `afterOui` as its payload.
inline Bytes HdmiBlock(const Bytes& afterOui) {
  Bytes payload = kHdmiOui;
  payload.insert(payload.end(), afterOui.begin(), afterOui.end());
  return DataBlockBytes(3, payload);
}

// A data block of `tag` 7 with extended tag `extTag`.
inline Bytes ExtendedBlock(unsigned extTag, const Bytes& payload) {
  Bytes withTag = {static_cast<uint8_t>(extTag)};
  withTag.insert(withTag.end(), payload.begin(), payload.end());
  return DataBlockBytes(7, withTag);
}

struct CeaPage {
  explicit CeaPage(const CeaImage& image) : cea(image) {
    EXPECT_TRUE(page.AttachBlock(cea.Block(), kBlockSize, CeaImage::kOffset));
  }
  CeaPage(const std::vector<Bytes>& dataBlocks, unsigned dtds) : CeaPage(MakeCea(dataBlocks, dtds)) {}

  CeaExtBlock& Model() { return *page.Model(); }
  std::unique_ptr<EditorForm> Form(const std::string& name) {
    std::unique_ptr<EditorForm> form = page.CreateForm(name);
    EXPECT_NE(form, nullptr) << name;
    return form;
  }
  // Form `name` with `changes` made, then OK: the message of a refusal, or
  // empty text when the form accepted.
  std::string Ok(const std::string& name, const Changes& changes) {
    std::unique_ptr<EditorForm> form = Form(name);
    if (form == nullptr) return "(no form)";
    MakeChanges(*form, changes);
    std::string message;
    const bool accepted = form->Accept(message);
    EXPECT_EQ(accepted, message.empty());
    return message;
  }
  // The block's bytes from `from`.
  Bytes Range(unsigned from, unsigned count) const { return cea.Range(from, count); }

  CeaImage cea;
  RecordingContext context;
  ScriptedUserInterface ui;
  CeaExtBlockPage page{1, &context, &ui};
};

}  // namespace velmar::testing
