#include "storage/RegFile.h"

#include <algorithm>

#include "storage/SetupText.h"
#include "util/Format.h"

namespace velmar {

namespace {

bool HoldsLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A value name between double quotes, as the registry editor writes it.
std::string QuotedValueName(const std::string& name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string RegOptionsProblem(const EncodeOptions& options) {
  if (HoldsLineBreak(options.registryPath) || options.registryPath.find(']') != std::string::npos) {
    return "a REG file's key cannot hold ']', a carriage return or a line feed";
  }
  if (HoldsLineBreak(options.valueName)) return "a REG file's value name cannot hold a carriage return or a line feed";
  return std::string();
}

std::string EncodeRegFile(const ImageFileData& image) {
  if (!RegOptionsProblem(image.options).empty()) return std::string();
  std::string out = "Windows Registry Editor Version 5.00\r\n\r\n";
  // The file is written in the 8-bit code page; the program's texts are UTF-8.
  AppendFormat(out, "[HKEY_LOCAL_MACHINE\\%s]\r\n", Utf8ToLatin1(image.options.registryPath).c_str());
  AppendFormat(out, "%s=hex:", Utf8ToLatin1(QuotedValueName(image.options.valueName)).c_str());
  if (image.bytes.empty()) return out;
  for (size_t i = 0; i < image.bytes.size(); ++i) AppendFormat(out, i == 0 ? "%02X" : ",%02X", image.bytes[i]);
  out += "\r\n\r\n";
  return out;
}

LoadResult DecodeRegFile(std::string_view contents) {
  if (contents.size() > kMaxSetupFileSize) return LoadResult::Failed(LoadStatus::InvalidFormat);
  LoadResult result;
  for (const std::string& line : LogicalLines(DecodeSetupText(contents))) {
    const size_t hex = line.find("=HEX:");
    if (hex == std::string::npos || line.find("NEXOEMULATEDEDID") == std::string::npos) continue;
    const std::string_view list = std::string_view(line).substr(hex + 5);
    // An empty binary value is a valid export: it adds no byte.
    if (list.empty()) continue;
    const LoadStatus status = ParseHexList(list, false, result);
    if (status != LoadStatus::Ok) return LoadResult::Failed(status);
  }
  return result;
}

bool RegFileReadsBack(const EncodeOptions& options) {
  ImageFileData probe;
  probe.bytes = {0x5A, 0xA5};
  probe.options = options;
  const LoadResult result = DecodeRegFile(EncodeRegFile(probe));
  return result.status == LoadStatus::Ok && result.length == probe.bytes.size() &&
         std::equal(probe.bytes.begin(), probe.bytes.end(), result.bytes.begin());
}

}  // namespace velmar
