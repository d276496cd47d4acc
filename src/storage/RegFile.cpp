#include "storage/RegFile.h"

#include <array>

#include "app/EdidImage.h"
#include "storage/InfFile.h"
#include "util/Format.h"

namespace velmar {

std::string RegFileContents(const EdidImage& image, const std::string& registryPath, const std::string& valueName) {
  std::string out = "Windows Registry Editor Version 5.00\r\n\r\n";
  // The file is written in the 8-bit code page; the program's texts are UTF-8.
  AppendFormat(out, "[HKEY_LOCAL_MACHINE\\%s]\r\n", Utf8ToLatin1(registryPath).c_str());
  AppendFormat(out, "\"%s\"=hex:", valueName.c_str());
  const unsigned used = image.GetUsedSize();
  if (used == 0) return out;
  for (unsigned i = 0; i < used; ++i) AppendFormat(out, i == 0 ? "%02X" : ",%02X", image.rawData[i]);
  out += "\r\n\r\n";
  return out;
}

bool LoadRegFile(EdidImage& image, const std::string& path) {
  std::string text;
  const SetupRead read = ReadSetupFile(image, path, text);
  if (read == SetupRead::Unreadable) return false;
  image.ResetForLoad();
  std::array<uint8_t, 512> bytes{};
  unsigned count = 0;
  HexListStatus status = read == SetupRead::TooLarge ? HexListStatus::InvalidFormat : HexListStatus::Ok;
  if (status == HexListStatus::Ok) {
    for (const std::string& line : LogicalLines(text)) {
      const size_t hex = line.find("=HEX:");
      if (hex == std::string::npos || line.find("NEXOEMULATEDEDID") == std::string::npos) continue;
      const std::string_view list = std::string_view(line).substr(hex + 5);
      // An empty binary value is a valid export: it adds no byte.
      if (list.empty()) continue;
      status = ParseHexList(list, false, bytes, count);
      if (status != HexListStatus::Ok) break;
    }
  }
  FinishSetupLoad(image, status, bytes, path, SourceKind::RegFile);
  return true;
}

}  // namespace velmar
