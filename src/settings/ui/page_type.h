// The "Type" page: corpus type, diacritics, locale and text encoding, the line
// range and the two word-list switches.
#pragma once

#include <string>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace plix {

class CNumberEdit;

class CPageType : public COptionPage
{
    Q_OBJECT
  public:
    CPageType(SheetState& state, const CCorpus& corpus, QWidget* parent = nullptr);

    void OnSetActive() override;
    [[nodiscard]] bool OnKillActive() override;

    // The user chose the corpus type `code` in the list (also the one already chosen).
    void OnTypeSelected(int code);

    int CorpusType() const;
    std::string Diacritics() const;
    // The locale list's text; empty when no entry is selected.
    std::string Language() const;
    int StartLine() const { return startLine_; }
    int EndLine() const { return endLine_; }
    int CountNumbers() const;
    int IgnoreCase() const;
    int Utf8Text() const;

    QComboBox* TypeBox() const { return typeBox_; }
    QLineEdit* DiacriticsEdit() const { return diacriticsEdit_; }
    QComboBox* LocaleBox() const { return localeBox_; }
    CNumberEdit* FromEdit() const { return fromEdit_; }
    CNumberEdit* ToEdit() const { return toEdit_; }
    QCheckBox* CountNumbersCheck() const { return countNumbersCheck_; }
    QCheckBox* IgnoreCaseCheck() const { return ignoreCaseCheck_; }
    QCheckBox* Utf8Check() const { return utf8Check_; }

  private:
    bool ReadLines(int& from, int& to);
    void OnFromLeft();
    void OnToLeft();

    QComboBox* typeBox_;
    QLineEdit* diacriticsEdit_;
    QComboBox* localeBox_;
    CNumberEdit* fromEdit_;
    CNumberEdit* toEdit_;
    QCheckBox* countNumbersCheck_;
    QCheckBox* ignoreCaseCheck_;
    QCheckBox* utf8Check_;
    int startLine_;
    int endLine_;
};

}  // namespace plix
