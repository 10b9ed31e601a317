// The concordance keyword dialog ("Keyword"): keyword with the history, the
// match switches, regular expression, and an optional context word with its
// left and right spans. Shown before every concordance and collocation run.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "engine/keyword_request.h"
#include "settings/corpus.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace plix {

class CSpinEdit;

class CKeywordDlg : public QDialog
{
    Q_OBJECT
  public:
    // `history` is listed as it stands: the record keeps it newest first.
    explicit CKeywordDlg(const std::vector<std::string>& history, QWidget* parent = nullptr);

    // The values as accepted. The spans count only with a context word.
    KeywordRequest Request() const;

    void accept() override;

    QComboBox* KeywordBox() const { return keywordBox_; }
    QCheckBox* LeftCheck() const { return leftCheck_; }
    QCheckBox* RightCheck() const { return rightCheck_; }
    QCheckBox* RegexCheck() const { return regexCheck_; }
    QCheckBox* ContextCheck() const { return contextCheck_; }
    QLineEdit* ContextWordEdit() const { return contextWordEdit_; }
    QLabel* ContextLeftLabel() const { return contextLeftLabel_; }
    QLabel* ContextRightLabel() const { return contextRightLabel_; }
    CSpinEdit* ContextLeftSpan() const { return contextLeftSpan_; }
    CSpinEdit* ContextRightSpan() const { return contextRightSpan_; }

  private:
    void OnContextWordClicked();

    QComboBox* keywordBox_;
    QCheckBox* leftCheck_;
    QCheckBox* rightCheck_;
    QCheckBox* regexCheck_;
    QCheckBox* contextCheck_;
    QLineEdit* contextWordEdit_;
    QLabel* contextLeftLabel_;
    QLabel* contextRightLabel_;
    CSpinEdit* contextLeftSpan_;
    CSpinEdit* contextRightSpan_;
    int contextLeft_ = 0;
    int contextRight_ = 0;
};

// Runs the keyword dialog modally over `parent` with the record's history;
// nothing when it is cancelled.
std::optional<KeywordRequest> AskKeyword(const CCorpus& corpus, QWidget* parent);

}  // namespace plix
