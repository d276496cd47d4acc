#include "dialogs/CEAGenericDataBlockDlg.h"

#include <algorithm>

#include "dialogs/CeaFormSupport.h"
#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kByteFields = kMaxDataBlockLength;
constexpr unsigned kBytesPerRow = 4;
constexpr uint32_t kMaxOui = 0xFFFFFF;

}  // namespace

CEAGenericDataBlockDlg::CEAGenericDataBlockDlg(std::string address, CeaExtBlock& model, unsigned index)
    : EditorForm(std::move(address), "CEA Data Block"), model_(model), index_(index) {
  model_.GetGenericDataBlock(index_, stored_);
  const DataBlockEntry* entry = model_.Entry(index_);
  const unsigned kind = model_.GetDataBlockKind(index_);
  const unsigned headerLength = entry != nullptr ? entry->headerLength : 1;
  const unsigned length = std::min(stored_.length, kByteFields);
  const unsigned minLength = CeaDataBlockMinLength(kind);
  firstSize_ = std::min(minLength > headerLength ? minLength - headerLength : 0, length);
  const unsigned capacity = std::min({std::max(stored_.capacity, length), kByteFields, kMaxDataBlockLength - 1});

  FormField& oui = AddEdit("vendor-id", "[HEX] Vendor IEEE ID:", Format("%06X", stored_.OuiValue()));
  oui.visible = stored_.hasOui;
  oui.enabled = stored_.hasOui && headerLength >= 4;
  if (!stored_.hasOui) oui.label.clear();

  AddGroup("bytes", CeaDataBlockKindName(kind), 0, 0);
  InGroup("bytes");
  for (unsigned n = 0; n < kByteFields; ++n) {
    const std::string label =
        n % kBytesPerRow == 0 ? Format("[HEX] Bytes %u-%u:", n, n + kBytesPerRow - 1) : std::string();
    FormField& byte = AddEdit(IndexedName("bytes", n), label, WriteHex(2, n < length ? stored_.data[n] : 0, false));
    byte.row = static_cast<int>(n / kBytesPerRow);
    byte.column = static_cast<int>(n % kBytesPerRow);
  }
  InGroup("");
  std::vector<std::string> sizes;
  for (unsigned size = firstSize_; size <= capacity; ++size) sizes.push_back(Format("%u Bytes", size));
  AddList("size", "Select Data Block Size:", std::move(sizes), static_cast<int>(length - firstSize_));
  EnableBytes();
  Opened();
}

int CEAGenericDataBlockDlg::ChosenSize() const {
  const int selection = Field("size").selection;
  return selection < 0 ? -1 : selection + static_cast<int>(firstSize_);
}

void CEAGenericDataBlockDlg::EnableBytes() {
  const int size = ChosenSize();
  for (unsigned n = 0; n < kByteFields; ++n) Field(IndexedName("bytes", n)).enabled = static_cast<int>(n) < size;
}

bool CEAGenericDataBlockDlg::OnChanged(FormField& field, const FormField& before) {
  (void)before;
  if (field.name == "size") EnableBytes();
  return true;
}

std::string CEAGenericDataBlockDlg::Check() {
  const int size = ChosenSize();
  if (size < 0) return "Invalid Number Of Data Bytes selection";
  uint32_t value = 0;
  if (FieldChanged("vendor-id") && (!ReadHex(Field("vendor-id").text, value) || value > kMaxOui)) {
    return "Invalid Vendor ID (Valid range is 0 --> 0xFFFFFF)";
  }
  for (unsigned n = 0; n < static_cast<unsigned>(size); ++n) {
    const std::string name = IndexedName("bytes", n);
    if (FieldChanged(name) && (!ReadHex(Field(name).text, value) || value > 0xFF)) {
      return Format("Invalid Data Byte (Row %u, Col %u) (Valid range is 0 --> 0xFF)", n / kBytesPerRow,
                    n % kBytesPerRow);
    }
  }
  return {};
}

void CEAGenericDataBlockDlg::Apply() {
  GenericDataBlock generic = stored_;
  generic.length = static_cast<unsigned>(std::max(ChosenSize(), 0));
  uint32_t value = 0;
  if (FieldChanged("vendor-id") && ReadHex(Field("vendor-id").text, value)) generic.SetOuiValue(value);
  for (unsigned n = 0; n < kByteFields; ++n) {
    const std::string name = IndexedName("bytes", n);
    if (n >= generic.length) {
      generic.data[n] = 0;
    } else if (FieldChanged(name) && ReadHex(Field(name).text, value)) {
      generic.data[n] = static_cast<uint8_t>(value);
    }
  }
  model_.SetGenericDataBlock(index_, generic);
}

}  // namespace velmar
