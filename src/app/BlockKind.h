#pragma once

#include <cstdint>
#include <memory>

namespace velmar {

class BlockPage;
class CallbackContext;
class UserInterface;

// The kinds of block: the six the add command offers, numbered as it offers
// them, and the extension block that no model decodes, which a load keeps
// as it is but which is never added.
enum class BlockKind : unsigned {
  Edid13Base = 0,
  Edid14Base = 1,
  DisplayIdBase = 2,
  CeaExtension = 3,
  DiExtension = 4,
  DisplayIdExtension = 5,
  OpaqueExtension = 6,
};
// The kinds the add command offers: 0 to 5.
inline constexpr unsigned kBlockKindCount = 6;

// The text offered by the add command ("EDID1.3 Base Block" ...); empty for
// the opaque extension.
const char* BlockChoiceText(BlockKind kind);
// Writes the default bytes of a new block of `kind`; false when the room is
// below the kind's minimum, and for the opaque extension.
bool InitDefaultBytesOf(BlockKind kind, uint8_t* data, unsigned room);
// A new page of `kind` at list position `index`, without a model yet.
std::unique_ptr<BlockPage> CreatePage(BlockKind kind, unsigned index, CallbackContext* owner,
                                      UserInterface* ui);

}  // namespace velmar
