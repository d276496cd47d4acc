#pragma once

#include "blocks/CeaExtBlock.h"
#include "dialogs/EditorForm.h"

namespace velmar {

// "CEA HDMI Vendor Specific Data Block": an HDMI vendor specific data block
// (form "<block>.db<N>", also "<block>.hdmi" for the block's first one).
//
// Fields:
//   phys-a, phys-b, phys-c, phys-d   the source physical address, 0-15 each;
//   features     ("   Features") dvi-dual, ai, dc-30, dc-36, dc-48, dc-y444;
//   clock-rate   ("   Clock Rate") max-tmds-clock (MHz, 0-1275);
//   flags        ("   Flags") cn0, cn1, cn2, cn3;
//   latency      ("   Latency") video-latency-type, video-latency,
//                audio-latency-type, audio-latency (kind "No Data", "Not
//                Supported", "Latency in ms"; ms 0-506);
//   interlaced-latency  the same four fields prefixed "interlaced-";
//   extended-caps ("   Extended Caps") image-size, mandatory-3d, multi-3d
//                ("No Multi 3D Support", "All 16 VICs", "Selected 16 VICs")
//                with the button select-formats, the counts
//                extended-3d-count and hdmi-vic-count with the buttons
//                edit-extended-3d and edit-hdmi-vics.
// The section check boxes follow the block's layout: a section is switched
// on only after the one before it (features, clock-rate, flags, then
// latency and interlaced-latency, or extended-caps) and off only before the
// ones after it; switching on takes its bytes from the block's free room and
// is refused when they do not fit. Switching Extended Caps off empties the
// HDMI VICs, the multi-3D choice, the detailed 3D entries and the 3D bytes
// this program does not decode, and gives their bytes back. A multi-3D
// choice that does not fit falls back to "All 16 VICs", then to none.
//
// The buttons open sub-forms (CEAHdmiMulti3DDlg, CEAHdmiExt3DDlg,
// CEAHdmiVicsDlg, addressed "<form>.multi-3d-formats", "<form>.extended-3d"
// and "<form>.hdmi-vics") that edit this form's copy of those parts; only
// this form's OK writes the block. A block too short to hold the physical
// address opens read-only.
class CEAHdmiVsdbDlg : public EditorForm {
 public:
  CEAHdmiVsdbDlg(std::string address, CeaExtBlock& model, unsigned index);

  // The payload bytes the fields and the copy need now, and how far the
  // data block may grow.
  unsigned Used() const;
  unsigned Capacity() const { return capacity_; }

 protected:
  std::string Check() override;
  void Apply() override;
  bool OnChanged(FormField& field, const FormField& before) override;
  void OnPressed(FormField& field, UserInterface& ui) override;

 private:
  // The record as the fields and the copy stand (values the checks have not
  // read are the stored ones).
  HdmiVsdb Effective() const;
  bool On(const char* section) const { return Field(section).checked; }
  // True when a value field must be read at OK: it, its section or its kind
  // list changed.
  bool NeedsRead(const char* field, const char* section, const char* kind = nullptr) const;
  bool SectionChanged(FormField& field);
  void ShowSections();
  void ShowCounts();

  CeaExtBlock& model_;
  unsigned index_;
  HdmiVsdb stored_;
  // The parts the sub-forms edit.
  HdmiVsdb copy_;
  ShortVideoDescriptorList svds_;
  unsigned capacity_ = 0;
  // Payload bytes after everything the stored record announces.
  unsigned trailing_ = 0;
  bool readOnly_ = false;
};

}  // namespace velmar
