#pragma once

#include <cstdint>

#include "common/Callbacks.h"
#include "dialogs/view/DlgBase.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmar {

class EditListCtrl;
class UserInterface;

// "View and Edit Raw Data": the image bytes as a grid of 16 hexadecimal cells
// per row that the user can overwrite, with what the block covering the
// current byte says it means. The grid holds a copy: the bytes are written
// only on OK, and only after every cell was checked.
class EditRawDataDlg : public DlgBase, public CallbackNotify {
  Q_OBJECT

 public:
  static constexpr int kByteColumns = 16;

  // `ui` shows the messages and the question; `owner` names the bytes. The
  // dialog edits `length` bytes at `rawData`.
  EditRawDataDlg(QWidget* parent, UserInterface* ui, CallbackContext* owner, uint8_t* rawData, unsigned length);
  ~EditRawDataDlg() override;

  // Checks every cell; writes the bytes and closes, Accepted when one changed
  // and Rejected (as Cancel) otherwise. A bad cell is reported and nothing is written.
  void OnOkButton() override;
  void OnCancelButton() override;
  // Sets every cell to "00" after the user confirms; the bytes change on OK.
  void OnClearButton();
  QAbstractButton* GetOkButton() const override;
  QAbstractButton* GetCancelButton() const override;

  // CallbackNotify: fills the four labels for the byte under (row, column).
  void OnCellSelected(int row, int column) override;

  EditListCtrl* Grid() const { return grid; }
  QLabel* ByteLabel() const { return byteLabel; }
  QLabel* InfoLabel() const { return infoLabel; }
  QLabel* CaptionLabel() const { return captionLabel; }
  QLabel* ExtraLabel() const { return extraLabel; }
  QPushButton* ClearButton() const { return clearButton; }

 private:
  bool AskOkCancel(const char* question);
  // Sets the column widths so that every text fits, and the dialog's width so
  // that every column shows.
  void FitColumns();

  CallbackContext* owner = nullptr;
  uint8_t* data = nullptr;
  unsigned dataLength = 0;
  int rows = 0;
  EditListCtrl* grid = nullptr;
  QLineEdit* cellEditor = nullptr;
  QGroupBox* frame = nullptr;
  QLabel* byteLabel = nullptr;
  QLabel* infoLabel = nullptr;
  QLabel* captionLabel = nullptr;
  QLabel* extraLabel = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QPushButton* clearButton = nullptr;
};

// "Edit Raw Data": runs the editor modally over `length` bytes at `rawData`;
// true when it ended with OK and at least one byte changed.
bool RunEditRawDataDlg(QWidget* parent, UserInterface* ui, CallbackContext* owner, uint8_t* rawData,
                       unsigned length);

}  // namespace velmar
