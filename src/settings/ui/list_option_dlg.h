// The list-option dialog ("Keyword" of "List Option ..."): a filter keyword with
// its match switches for the next word list, index or rhyme index.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "settings/corpus.h"

class QCheckBox;
class QComboBox;

namespace plix {

class CListOptionDlg : public QDialog
{
    Q_OBJECT
  public:
    explicit CListOptionDlg(const std::vector<std::string>& history, QWidget* parent = nullptr);

    std::string Keyword() const;
    bool MatchLeft() const;
    bool MatchRight() const;
    bool Regex() const;
    // Stores the accepted values into the record and pushes the keyword to the
    // history, an empty one too.
    void StoreInto(CCorpus& corpus) const;

    QComboBox* KeywordBox() const { return keywordBox_; }
    QCheckBox* LeftCheck() const { return leftCheck_; }
    QCheckBox* RightCheck() const { return rightCheck_; }
    QCheckBox* RegexCheck() const { return regexCheck_; }

  private:
    QComboBox* keywordBox_;
    QCheckBox* leftCheck_;
    QCheckBox* rightCheck_;
    QCheckBox* regexCheck_;
};

// "List Option ...": runs the dialog modally; OK stores its values, Cancel nothing.
void ListOptionDialog(CCorpus& corpus, QWidget* parent);

}  // namespace plix
