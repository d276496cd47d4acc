#pragma once

#include <cstdint>

#include "blocks/DataBlock.h"
#include "blocks/DetailedTiming.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "EDID Detailed Timing": one 18-byte detailed timing of any block, read and
// written through the model's GetDetailedTiming / SetDetailedTiming with
// `index` as the model numbers its timings (1-4 for the descriptor slots of a
// base block, from 0 on a CEA-861 block). The page names the form
// ("base.slot1"; "cea1.dtd1" for index 0).
//
// Fields, every number decimal and shown as stored (a 1.3 block's blanking
// includes its borders):
//   horizontal group: haddressable, hblank, hsync-start, hsync-width,
//                     hborder, himage-size
//   vertical group:   vaddressable, vblank, vsync-start, vsync-width,
//                     vborder, vimage-size
//   pixel-clock (10 kHz units), interlace (check box), sync-type (list of
//   the four sync types), sync-bit1 and sync-bit2 (byte 17 bits 1 and 2,
//   captioned after the sync type), stereo (list of the seven formats), and
//   the read-only note.
// OK checks the changed fields in the order horizontal/vertical addressable,
// blanking, sync start, sync width, border, image size, then the pixel clock
// (1-65535); untouched fields keep their stored values.
class EDIDDetTimingsDlg : public EditorForm {
 public:
  EDIDDetTimingsDlg(std::string address, DataBlock& model, unsigned index);

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;

 private:
  // The record with the changed fields read in; false with `message` at the
  // first field that does not parse or lies outside its range.
  bool Read(DetailedTiming& timing, std::string& message) const;
  // Captions the two sync detail boxes after sync type `type`.
  void CaptionSyncBits(uint32_t type);

  DataBlock& model_;
  unsigned index_;
  DetailedTiming stored_;
};

}  // namespace velmar
