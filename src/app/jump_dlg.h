// CJumpDlg: "Jump" — the line to go to, a signed integer, filled in with the
// caret's line. A text that is no integer is refused with "Please enter an
// integer." and the dialog stays open.
#pragma once

#include <QDialog>

class QLineEdit;

namespace plix {

class CJumpDlg : public QDialog
{
    Q_OBJECT

  public:
    CJumpDlg(int line, QWidget* parent);

    // The line as accepted.
    int Line() const { return line_; }
    QLineEdit* LineEdit() const { return edit_; }

    void accept() override;

  private:
    QLineEdit* edit_;
    int line_;
};

}  // namespace plix
