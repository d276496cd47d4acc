#include "storage/FileFormat.h"

#include <algorithm>

#include "storage/BinFile.h"
#include "storage/FileIO.h"
#include "storage/InfFile.h"
#include "storage/RegFile.h"
#include "storage/TxtFile.h"

namespace velmar {

namespace {

// The largest file any decoder accepts; the text decoders refuse anything
// larger, the raw one only keeps its first 512 bytes.
constexpr size_t kMaxInputSize = 64u * 1024u * 1024u;

std::vector<FileFormat> MakeFormats() {
  std::vector<FileFormat> formats(4);

  FileFormat& txt = formats[0];
  txt.kind = SourceKind::TxtFile;
  txt.extensions = {"TXT", "ETXT"};
  txt.defaultExtension = "txt";
  txt.filter = "Text files (*.txt)|*.txt|EDID Text files (*.etxt)|*.etxt|All files (*.*)|*.*||";
  txt.word = "Text";
  txt.loadCommand = "Load EDID from TXT file";
  txt.saveCommand = "Save EDID as TXT file";
  txt.description = "hexadecimal text (CR LF line ends)";
  txt.decode = DecodeTxtFile;
  txt.encode = EncodeTxtFile;

  FileFormat& bin = formats[1];
  bin.kind = SourceKind::BinFile;
  bin.extensions = {"BIN", "EDID", "EBIN"};
  bin.defaultExtension = "bin";
  bin.filter =
      "Binary files (*.bin)|*.bin|EDID Binary files (*.edid)|*.edid|EDID Binary files (*.ebin)|*.ebin|All files "
      "(*.*)|*.*||";
  bin.word = "Binary";
  bin.loadCommand = "Load EDID from BIN file";
  bin.saveCommand = "Save EDID as BIN file";
  bin.description = "raw binary";
  bin.decode = DecodeBinFile;
  bin.encode = EncodeBinFile;

  FileFormat& inf = formats[2];
  inf.kind = SourceKind::InfFile;
  inf.extensions = {"INF"};
  inf.defaultExtension = "inf";
  inf.filter = "Setup Information files (*.inf)|*.inf|All files (*.*)|*.*||";
  inf.word = "INF";
  inf.loadCommand = "Load EDID from INF file";
  inf.saveCommand = "Generate EDID INF file";
  inf.description = "monitor setup information with the EDID as override";
  inf.needsBlocks = true;
  inf.decode = DecodeInfFile;
  inf.encode = EncodeInfFile;

  FileFormat& reg = formats[3];
  reg.kind = SourceKind::RegFile;
  reg.extensions = {"REG"};
  reg.defaultExtension = "reg";
  reg.filter = "Registry files (*.reg)|*.reg|All files (*.*)|*.*||";
  reg.word = "Registry";
  reg.loadCommand = "Load Emulated EDID from REG file";
  reg.saveCommand = "Generate Emulated EDID REG file";
  reg.description = "registry export of an emulated EDID";
  reg.needsRegistryValue = true;
  reg.optionsProblem = RegOptionsProblem;
  reg.decode = DecodeRegFile;
  reg.encode = EncodeRegFile;
  return formats;
}

}  // namespace

const std::vector<FileFormat>& FileFormats() {
  static const std::vector<FileFormat> formats = MakeFormats();
  return formats;
}

const FileFormat* FormatOf(SourceKind kind) {
  for (const FileFormat& format : FileFormats()) {
    if (format.kind == kind) return &format;
  }
  return nullptr;
}

const FileFormat* FormatForExtension(const std::string& extension) {
  for (const FileFormat& format : FileFormats()) {
    if (std::find(format.extensions.begin(), format.extensions.end(), extension) != format.extensions.end()) {
      return &format;
    }
  }
  return nullptr;
}

LoadResult ReadImageFile(const FileFormat& format, const std::string& path) {
  // One byte more than any decoder takes, so that a decoder sees a file that is too large.
  const FileRead file = ReadRegularFile(path, kMaxInputSize + 1);
  if (!file.ok) return LoadResult::Failed(LoadStatus::CannotOpen, file.reason);
  LoadResult result = format.decode(file.contents);
  // A file the limit cut (only a raw file decodes then) counts all its bytes.
  if (result.status == LoadStatus::Ok && file.size > file.contents.size()) {
    result.length = std::max<size_t>(result.length, static_cast<size_t>(file.size));
  }
  return result;
}

}  // namespace velmar
