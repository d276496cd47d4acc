#include "app/BlockKind.h"

#include "blocks/CeaExtBlock.h"
#include "blocks/DiExtBlock.h"
#include "blocks/DisplayIDBlock.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "pages/CeaExtBlockPage.h"
#include "pages/DiExtBlockPage.h"
#include "pages/DisplayIDBlockPage.h"
#include "pages/EdidBaseBlockPage.h"
#include "pages/OpaqueExtBlockPage.h"

namespace velmar {

const char* BlockChoiceText(BlockKind kind) {
  switch (kind) {
    case BlockKind::Edid13Base: return "EDID1.3 Base Block";
    case BlockKind::Edid14Base: return "EDID1.4 Base Block";
    case BlockKind::DisplayIdBase: return "DID Base Block";
    case BlockKind::CeaExtension: return "EDID CEA Ext Block";
    case BlockKind::DiExtension: return "EDID DI Ext Block";
    case BlockKind::DisplayIdExtension: return "DID Ext Block";
    case BlockKind::OpaqueExtension: break;
  }
  return "";
}

bool InitDefaultBytesOf(BlockKind kind, uint8_t* data, unsigned room) {
  switch (kind) {
    case BlockKind::Edid13Base: return Edid13Block::InitDefaultBytes(data, room);
    case BlockKind::Edid14Base: return Edid14Block::InitDefaultBytes(data, room);
    case BlockKind::DisplayIdBase: return DisplayIDBlock::InitDefaultBaseBytes(data, room);
    case BlockKind::CeaExtension: return CeaExtBlock::InitDefaultBytes(data, room);
    case BlockKind::DiExtension: return DiExtBlock::InitDefaultBytes(data, room);
    case BlockKind::DisplayIdExtension: return DisplayIDBlock::InitDefaultExtensionBytes(data, room);
    case BlockKind::OpaqueExtension: break;
  }
  return false;
}

std::unique_ptr<BlockPage> CreatePage(BlockKind kind, unsigned index, CallbackContext* owner,
                                      UserInterface* ui) {
  switch (kind) {
    case BlockKind::Edid13Base: return std::make_unique<EdidBaseBlockPage>(false, index, owner, ui);
    case BlockKind::Edid14Base: return std::make_unique<EdidBaseBlockPage>(true, index, owner, ui);
    case BlockKind::DisplayIdBase: return std::make_unique<DisplayIDBlockPage>(true, index, owner, ui);
    case BlockKind::CeaExtension: return std::make_unique<CeaExtBlockPage>(index, owner, ui);
    case BlockKind::DiExtension: return std::make_unique<DiExtBlockPage>(index, owner, ui);
    case BlockKind::DisplayIdExtension: return std::make_unique<DisplayIDBlockPage>(false, index, owner, ui);
    case BlockKind::OpaqueExtension: return std::make_unique<OpaqueExtBlockPage>(index, owner, ui);
  }
  return nullptr;
}

}  // namespace velmar
