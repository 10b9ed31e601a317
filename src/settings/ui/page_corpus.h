// The "Corpus Files" page: the corpus list as a two-level tree (each corpus file
// with its output path beneath it), "Add", "Remove", "Edit" of an output path,
// and the two switches "To Output as Files" and "As a Whole".
#pragma once

#include <QString>
#include <QStringList>

#include "settings/ui/option_page.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace plix {

// The file dialogs of the page, replaceable so that tests need no real ones.
class CCorpusFileChooser
{
  public:
    virtual ~CCorpusFileChooser() = default;
    // A multi-selection open dialog; the chosen files in the dialog's order, none
    // on Cancel.
    virtual QStringList OpenFiles(QWidget* parent, const QString& title, const QString& filter) = 0;
    // A save-as dialog starting at `initial`; the chosen path, empty on Cancel.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& initial,
                             const QString& filter) = 0;
};

// The dialog titles and the filter the page uses.
QString CorpusFilesDialogTitle();
QString OutputFileDialogTitle();
QString CorpusFileFilter();

class CPageCorpus : public COptionPage
{
    Q_OBJECT
  public:
    CPageCorpus(SheetState& state, int outputAsFiles, int asWhole, QWidget* parent = nullptr);
    ~CPageCorpus() override;

    void OnSetActive() override;
    [[nodiscard]] bool OnKillActive() override;

    int OutputAsFiles() const;
    int AsWhole() const;

    // Null brings back the platform's file dialogs. Not owned.
    void SetFileChooser(CCorpusFileChooser* chooser);

    void OnAdd();
    void OnRemove();
    void OnEdit();

    QTreeWidget* Tree() const { return tree_; }
    QPushButton* AddButton() const { return addButton_; }
    QPushButton* RemoveButton() const { return removeButton_; }
    QPushButton* EditButton() const { return editButton_; }
    QCheckBox* OutputAsFilesCheck() const { return outputAsFilesCheck_; }
    QCheckBox* AsWholeCheck() const { return asWholeCheck_; }

  private:
    QTreeWidgetItem* SelectedItem() const;
    void AppendEntry(const std::string& input, const std::string& output);
    void OnSelectionChanged();
    void OnOutputAsFilesClicked(bool checked);

    QTreeWidget* tree_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    QPushButton* editButton_;
    QCheckBox* outputAsFilesCheck_;
    QCheckBox* asWholeCheck_;
    CCorpusFileChooser* chooser_ = nullptr;
};

}  // namespace plix
