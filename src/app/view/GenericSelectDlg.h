#pragma once

#include "common/Callbacks.h"
#include "dialogs/view/DlgBase.h"

class QComboBox;
class QPushButton;

namespace velmar {

// The choice of one item of a list its owner fills through FillContent. The
// list keeps the order of the items as they were appended.
class GenericSelectDlg : public DlgBase, public CallbackFillContentTgt {
  Q_OBJECT

 public:
  GenericSelectDlg(QWidget* parent, CallbackContext* owner, unsigned kind);

  // The chosen position once the dialog closed: the selected item on OK,
  // 65535 on Cancel or when nothing is selected.
  unsigned Selection() const { return selection_; }

  // CallbackFillContentTgt
  void SetTitle(const std::string& text) override;
  void Append(const std::string& text) override;
  void AddMode(const ModeEntry& mode) override { (void)mode; }

  void OnOkButton() override;
  void OnCancelButton() override;
  QAbstractButton* GetOkButton() const override;
  QAbstractButton* GetCancelButton() const override;

  QComboBox* List() const { return list_; }

 private:
  QComboBox* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  unsigned selection_;
};

}  // namespace velmar
