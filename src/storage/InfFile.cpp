#include "storage/InfFile.h"

#include "storage/SetupText.h"
#include "util/Format.h"

namespace velmar {

namespace {

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

}  // namespace

LoadResult DecodeInfFile(std::string_view contents) {
  if (contents.size() > kMaxSetupFileSize) return LoadResult::Failed(LoadStatus::InvalidFormat);
  LoadResult result;
  unsigned block = 0;
  for (const std::string& line : LogicalLines(DecodeSetupText(contents))) {
    // Only the next block's line counts: blocks are read in the order 0, 1, 2, ...
    const std::string key = Format("HKR,EDID_OVERRIDE,\"%u\",", block);
    const size_t found = line.find(key);
    if (found == std::string::npos) continue;
    const LoadStatus status = ParseHexList(std::string_view(line).substr(found + key.size()), true, result);
    if (status != LoadStatus::Ok) return LoadResult::Failed(status);
    ++block;
  }
  return result;
}

std::string EncodeInfFile(const ImageFileData& image) {
  const MonitorInfo& info = image.monitor;
  const LocalTime& date = image.options.date;
  // The file is written in the 8-bit code page; the program's texts are UTF-8.
  const std::string pnpId = Utf8ToLatin1(info.pnpId);
  const std::string vendor = Utf8ToLatin1(info.manufacturer);
  const std::string product = Utf8ToLatin1(info.monitorName);
  const unsigned width = image.largestWidth;
  const unsigned height = image.largestHeight;

  std::string out;
  Line(out, "[Version]");
  Line(out, "signature=\"$WINDOWS NT$\"");
  Line(out, "Class=Monitor");
  Line(out, "ClassGuid={4D36E96E-E325-11CE-BFC1-08002BE10318}");
  Line(out, "Provider=\"Velmar\"");
  Line(out, Format("DriverVer=%u/%u/%u, 1.0.0.0", date.month, date.day, date.year));
  Line(out, "");
  Line(out, ";CatalogFile=Sample.cat");
  Line(out, "");
  Line(out, "[DestinationDirs]");
  Line(out, "DefaultDestDir=23");
  Line(out, "");
  Line(out, "[SourceDisksNames]");
  Line(out, "1=%SourceDisksNames%");
  Line(out, "");
  Line(out, "[SourceDisksFiles]");
  Line(out, ";profile1.icm=1");
  Line(out, "");
  Line(out, "[Manufacturer]");
  Line(out, "%VendorID%=VELMAR_EDID_OVERRIDE,NTx86,NTvelmar64");
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE.NTx86]");
  Line(out, Format("%%ProductName%%=VELMAR_EDID_OVERRIDE-1.Install, MONITOR\\%s", pnpId.c_str()));
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE.NTvelmar64]");
  Line(out, Format("%%ProductName%%=VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64, MONITOR\\%s", pnpId.c_str()));
  Line(out, "");
  const auto installLines = [&out]() {
    Line(out, "DelReg=DEL_CURRENT_REG");
    Line(out, "AddReg=VELMAR_EDID_OVERRIDE-1.AddReg, MODE1, DPMS");
    Line(out, "CopyFiles=VELMAR_EDID_OVERRIDE-1.CopyFiles");
  };
  Line(out, "[VELMAR_EDID_OVERRIDE-1.Install.NTx86]");
  installLines();
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64]");
  installLines();
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE-1.Install.NTx86.HW]");
  Line(out, "AddReg=VELMAR_EDID_OVERRIDE-1_AddReg");
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE-1.Install.NTvelmar64.HW]");
  Line(out, "AddReg=VELMAR_EDID_OVERRIDE-1_AddReg");
  Line(out, "");
  Line(out, "[VELMAR_EDID_OVERRIDE-1_AddReg]");
  for (unsigned i = 0; i < image.blocks.size(); ++i) {
    const ImageFileBlock& block = image.blocks[i];
    Line(out, Format(";%s", Utf8ToLatin1(block.title).c_str()));
    std::string values = Format("HKR,EDID_OVERRIDE,\"%u\",0x01", i);
    for (unsigned b = block.start; b < block.end && b < image.bytes.size(); ++b) {
      AppendFormat(values, ",0x%02X", image.bytes[b]);
    }
    Line(out, values);
    Line(out, "");
  }
  Line(out, "[DEL_CURRENT_REG]");
  Line(out, "HKR,MODES");
  Line(out, "HKR,EDID_OVERRIDE");
  Line(out, "HKR,,MaxResolution");
  Line(out, "HKR,,DPMS");
  Line(out, "HKR,,ICMProfile");
  Line(out, "");
  Line(out, "[DPMS]");
  Line(out, Format("HKR,,DPMS,,%u", info.powerManagement ? 1u : 0u));
  Line(out, "");
  if (width != 0) {
    Line(out, "[MODE1]");
    Line(out, Format("HKR,,MaxResolution,,\"%u,%u\"", width, height));
    Line(out, "");
    Line(out, "[VELMAR_EDID_OVERRIDE-1.AddReg]");
    if (info.maxHRate != 0) {
      Line(out, Format("HKR,\"MODES\\%u,%u\",Mode1,,\"%u.0-%u.0,%u.0-%u.0,+,+\"", width, height,
                       static_cast<unsigned>(info.minHRate), static_cast<unsigned>(info.maxHRate),
                       static_cast<unsigned>(info.minVRate), static_cast<unsigned>(info.maxVRate)));
    } else {
      Line(out, Format("HKR,\"MODES\\%u,%u\",Mode1,,\"%u.0,+,+\"", width, height, 255u));
    }
    Line(out, "");
  }
  Line(out, "[VELMAR_EDID_OVERRIDE-1.CopyFiles]");
  Line(out, ";profile1.icm");
  Line(out, "");
  Line(out, "[Strings]");
  Line(out, "SourceDisksNames=\"Monitor EDID Override Installation Disk\"");
  Line(out, Format("ProductName=\"%s (Override)\"", product.c_str()));
  Line(out, Format("VendorID=\"%s\"", vendor.c_str()));
  Line(out, "");
  return out;
}

}  // namespace velmar
