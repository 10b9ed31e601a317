// Finding and replacing text in a result view: the search itself (from the
// caret, wrapping round the end once), and the modeless "Find" and "Replace"
// dialogs that drive it.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace plix {

struct FindOptions
{
    QString what;
    QString with;
    bool matchCase = false;
    bool wholeWord = false;
    bool backward = false;
};

// Selects the next occurrence after the caret or selection (before it when
// searching backward), going on from the other end of the text once. False
// when the text has none; the selection is then left as it was.
bool FindNextIn(QPlainTextEdit* view, const FindOptions& options);
// Replaces the selection when it is an occurrence, then finds the next one.
bool ReplaceIn(QPlainTextEdit* view, const FindOptions& options);
// Replaces every occurrence, as one step to undo; the number replaced.
int ReplaceAllIn(QPlainTextEdit* view, const FindOptions& options);

class CFindReplaceDlg : public QDialog
{
    Q_OBJECT

  public:
    // "Find" or, with `replace`, "Replace".
    CFindReplaceDlg(bool replace, QWidget* parent);

    bool IsReplace() const { return replace_; }
    FindOptions Options() const;
    void SetOptions(const FindOptions& options);

    QLineEdit* WhatEdit() const { return what_; }
    QLineEdit* WithEdit() const { return with_; }
    QCheckBox* WholeWordCheck() const { return wholeWord_; }
    QCheckBox* MatchCaseCheck() const { return matchCase_; }
    QRadioButton* UpButton() const { return up_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replaceOne_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }

  signals:
    void findNext();
    void replaceCurrent();
    void replaceAll();

  private:
    void UpdateButtons();

    bool replace_;
    QLineEdit* what_;
    QLineEdit* with_ = nullptr;
    QCheckBox* wholeWord_;
    QCheckBox* matchCase_;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNext_;
    QPushButton* replaceOne_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
};

}  // namespace plix
