// The format dialog ("PLIX Format"): output type with the two "Other" marks,
// concordance line length and keyword position, sort column and "Suppress
// Headers".
#pragma once

#include <QDialog>

#include <string>

#include "settings/corpus.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace plix {

class CSpinEdit;

class CFormatDlg : public QDialog
{
    Q_OBJECT
  public:
    explicit CFormatDlg(const CCorpus& corpus, QWidget* parent = nullptr);

    void accept() override;
    // Stores the accepted values: the marks first, so that the output type
    // derives its quotes from them, then the rest.
    void StoreInto(CCorpus& corpus) const;

    // The radio button of output type `code` (0-5).
    QAbstractButton* TypeButton(int code) const;
    QLineEdit* StartMarkEdit() const { return startMarkEdit_; }
    QLineEdit* EndMarkEdit() const { return endMarkEdit_; }
    CSpinEdit* LengthEdit() const { return lengthEdit_; }
    CSpinEdit* PositionEdit() const { return positionEdit_; }
    CSpinEdit* SortColumnEdit() const { return sortColumnEdit_; }
    QCheckBox* SuppressHeadersCheck() const { return suppressHeadersCheck_; }

  private:
    void OnTypeClicked(int code);
    void OnPositionLeft();
    // Reads the three number fields as the data exchange does, stopping at the
    // first one it refuses.
    bool ReadNumbers(int& length, int& position, int& sortColumn);

    QButtonGroup* typeGroup_;
    QLineEdit* startMarkEdit_;
    QLineEdit* endMarkEdit_;
    CSpinEdit* lengthEdit_;
    CSpinEdit* positionEdit_;
    CSpinEdit* sortColumnEdit_;
    QCheckBox* suppressHeadersCheck_;
    int length_;
    int position_;
    int sortColumn_;
};

// "PLIX Format ...": runs the dialog modally; OK stores its values, Cancel nothing.
void FormatDialog(CCorpus& corpus, QWidget* parent);

}  // namespace plix
