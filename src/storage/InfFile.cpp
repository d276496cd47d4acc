#include "storage/InfFile.h"

#include <algorithm>

#include "app/EdidImage.h"
#include "common/UserInterface.h"
#include "blocks/MonitorInfo.h"
#include "pages/BlockPage.h"
#include "storage/FileIO.h"
#include "util/Format.h"

namespace velmar {

namespace {

// A setup file larger than this cannot be a sane carrier of 512 bytes.
constexpr size_t kMaxSetupFileSize = 64u * 1024u * 1024u;

bool IsDroppedBlank(char c) {
  return c == '\r' || c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The low 8 bits of a value of 1 to 4 characters, or -1.
int ParseValue(std::string_view token) {
  if (token.empty() || token.size() > 4) return -1;
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'X' || token[1] == 'x')) token.remove_prefix(2);
  if (token.empty()) return -1;
  unsigned value = 0;
  for (char c : token) {
    const int digit = HexDigit(c);
    if (digit < 0) return -1;
    value = (value << 4) | static_cast<unsigned>(digit);
  }
  return static_cast<int>(value & 0xFFu);
}

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

}  // namespace

std::string DecodeSetupText(std::string_view contents) {
  if (contents.size() < 2 || static_cast<unsigned char>(contents[0]) != 0xFF ||
      static_cast<unsigned char>(contents[1]) != 0xFE) {
    return std::string(contents);
  }
  std::string text;
  text.reserve(contents.size() / 2);
  for (size_t i = 2; i + 1 < contents.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(contents[i]) |
                          (static_cast<unsigned>(static_cast<unsigned char>(contents[i + 1])) << 8);
    text += unit <= 0xFF ? static_cast<char>(unit) : '?';
  }
  return text;
}

std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (IsDroppedBlank(c)) continue;
    if (c == '\\') {
      // A backslash that ends a physical line joins the next one. Carriage
      // returns and blanks before the line feed are dropped anyway, so files
      // with CR LF line ends continue their lines too.
      size_t next = i + 1;
      while (next < n && IsDroppedBlank(text[next])) ++next;
      if (next < n && text[next] == '\n') {
        i = next;
        continue;
      }
      line += c;
      continue;
    }
    if (c == '\n') {
      if (!line.empty()) lines.push_back(std::move(line));
      line.clear();
      continue;
    }
    line += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

HexListStatus ParseHexList(std::string_view list, bool skipFirst, std::array<uint8_t, 512>& bytes, unsigned& count) {
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t comma = list.find(',', start);
    const std::string_view token =
        list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const int value = ParseValue(token);
    if (value < 0) return HexListStatus::InvalidFormat;
    if (!(first && skipFirst)) {
      if (count >= bytes.size()) return HexListStatus::Overflow;
      bytes[count++] = static_cast<uint8_t>(value);
    }
    first = false;
    if (comma == std::string_view::npos) return HexListStatus::Ok;
    start = comma + 1;
    if (start == list.size()) return HexListStatus::InvalidFormat;  // a comma ends the line
  }
}

SetupRead ReadSetupFile(EdidImage& image, const std::string& path, std::string& text) {
  text.clear();
  std::string contents;
  if (ReadFilePrefix(path, kMaxSetupFileSize + 1, contents) != ReadStatus::Ok) {
    image.Ui().ShowMessage(Format("Failed to open [%s] for reading", path.c_str()));
    return SetupRead::Unreadable;
  }
  if (contents.size() > kMaxSetupFileSize) return SetupRead::TooLarge;
  text = DecodeSetupText(contents);
  return SetupRead::Ok;
}

void FinishSetupLoad(EdidImage& image, HexListStatus status, const std::array<uint8_t, 512>& bytes,
                     const std::string& path, SourceKind kind) {
  if (status == HexListStatus::InvalidFormat) image.Ui().ShowMessage("Invalid File Format");
  if (status == HexListStatus::Overflow) image.Ui().ShowMessage("Maximum EDID size overflow");
  if (status == HexListStatus::Ok) std::copy(bytes.begin(), bytes.end(), image.rawData.begin());
  image.Rebuild();
  SourceDetails details;
  details.file = path;
  image.SetSource(kind, details);
}

bool LoadInfFile(EdidImage& image, const std::string& path) {
  std::string text;
  const SetupRead read = ReadSetupFile(image, path, text);
  if (read == SetupRead::Unreadable) return false;
  image.ResetForLoad();
  std::array<uint8_t, 512> bytes{};
  unsigned count = 0;
  unsigned block = 0;
  HexListStatus status = read == SetupRead::TooLarge ? HexListStatus::InvalidFormat : HexListStatus::Ok;
  if (status == HexListStatus::Ok) {
    for (const std::string& line : LogicalLines(text)) {
      // Only the next block's line counts: blocks are read in the order 0, 1, 2, ...
      const std::string key = Format("HKR,EDID_OVERRIDE,\"%u\",", block);
      const size_t found = line.find(key);
      if (found == std::string::npos) continue;
      status = ParseHexList(std::string_view(line).substr(found + key.size()), true, bytes, count);
      if (status != HexListStatus::Ok) break;
      ++block;
    }
  }
  FinishSetupLoad(image, status, bytes, path, SourceKind::InfFile);
  return true;
}

std::string InfFileContents(const EdidImage& image, const LocalTime& date) {
  MonitorInfo info;
  if (const BlockPage* first = image.GetPage(0)) first->GetMonitorInfo(info);
  // The file is written in the 8-bit code page; the program's texts are UTF-8.
  const std::string pnpId = Utf8ToLatin1(info.pnpId);
  const std::string vendor = Utf8ToLatin1(info.manufacturer);
  const std::string product = Utf8ToLatin1(info.monitorName);
  unsigned width = 0;
  unsigned height = 0;
  for (unsigned i = 0; i < image.BlockCount(); ++i) image.GetPage(i)->GetLargestMode(width, height);

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
  for (unsigned i = 0; i < image.BlockCount(); ++i) {
    Line(out, Format(";%s", Utf8ToLatin1(image.GetPage(i)->GetTitle()).c_str()));
    std::string values = Format("HKR,EDID_OVERRIDE,\"%u\",0x01", i);
    const unsigned start = i == 0 ? 0 : image.BlockEnd(i - 1);
    for (unsigned b = start; b < image.BlockEnd(i) && b < kMaxEdidSize; ++b) {
      AppendFormat(values, ",0x%02X", image.rawData[b]);
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
