#include "dialogs/CEAGenericInfoDlg.h"

#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

CEAGenericInfoDlg::CEAGenericInfoDlg(std::string address, CeaExtBlock& model)
    : EditorForm(std::move(address), "CEA Extension General Info"), model_(model) {
  model_.GetGeneralInfo(stored_);
  const CeaGeneralInfo& info = stored_;
  AddLabel("version", "Version and Revision:", Format("%u", model_.GetVersion()));
  AddLabel("data-blocks", "Number of Data Blocks:", Format("%u", info.dataBlockCount));
  AddLabel("detailed-timings", "Number of Detailed Timings:",
           info.dtdCount == info.reportedDtdCount ? Format("%u", info.dtdCount)
                                                  : Format("%u (Reported %u)", info.dtdCount, info.reportedDtdCount));
  AddLabel("timing-start", "Start of Timing Data:",
           info.dtdCount > 0 ? WriteHex(2, info.dtdOffset, true) : std::string("No Timing Data"));
  AddLabel("free-space", "Available Space (bytes):", Format("%u", info.freeInCollection + info.freeAfterDtds));
  AddLabel("checksum", "Checksum:", WriteHex(2, model_.GetChecksum(), true));
  AddCheck("ycbcr-422", "Support YCbCr 4:2:2:", info.ycbcr422);
  AddCheck("ycbcr-444", "Support YCbCr 4:4:4:", info.ycbcr444);
  AddCheck("basic-audio", "Support Basic Audio:", info.basicAudio);
  AddCheck("underscan", "Underscan IT Format By Default:", info.underscan);
  Opened();
}

void CEAGenericInfoDlg::Apply() {
  CeaGeneralInfo info = stored_;
  if (FieldChanged("ycbcr-422")) info.ycbcr422 = Field("ycbcr-422").checked;
  if (FieldChanged("ycbcr-444")) info.ycbcr444 = Field("ycbcr-444").checked;
  if (FieldChanged("basic-audio")) info.basicAudio = Field("basic-audio").checked;
  if (FieldChanged("underscan")) info.underscan = Field("underscan").checked;
  model_.SetGeneralInfo(info);
}

}  // namespace velmar
