#include "settings/ui/page_corpus.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "settings/corpus.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

// The platform's dialogs, used unless a test puts its own in.
class CQtFileChooser : public CCorpusFileChooser
{
  public:
    QStringList OpenFiles(QWidget* parent, const QString& title, const QString& filter) override
    {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
    }
    QString SaveFile(QWidget* parent, const QString& title, const QString& initial,
                     const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, initial, filter);
    }
};

CQtFileChooser& PlatformChooser()
{
    static CQtFileChooser chooser;
    return chooser;
}

}  // namespace

QString CorpusFilesDialogTitle()
{
    return QStringLiteral(u"開く－コーパスファイル設定");
}

QString OutputFileDialogTitle()
{
    return QStringLiteral("Save an Output As ... - Corpus Settings");
}

QString CorpusFileFilter()
{
    // "*.*" would hide files without an extension here, where it does not mean
    // every file; "*" is what "All Files" has to be.
    return QStringLiteral(
        "All Files (*);;Text Files (*.txt);;HTML Files (*.htm);;Data Files (*.dat)");
}

CPageCorpus::CPageCorpus(SheetState& state, int outputAsFiles, int asWhole, QWidget* parent)
    : COptionPage(state, parent),
      tree_(new QTreeWidget(this)),
      addButton_(new QPushButton(QStringLiteral("&Add"), this)),
      removeButton_(new QPushButton(QStringLiteral("&Remove"), this)),
      editButton_(new QPushButton(QStringLiteral("&Edit"), this)),
      outputAsFilesCheck_(new QCheckBox(QStringLiteral("To Output as &Files"), this)),
      asWholeCheck_(new QCheckBox(QStringLiteral("As a &Whole"), this))
{
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->header()->setStretchLastSection(true);

    auto* layout = new QGridLayout(this);
    auto* labels = new QVBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("Corpus Files"), this));
    labels->addWidget(new QLabel(QStringLiteral("|_Output Files"), this));
    layout->addLayout(labels, 0, 0);
    layout->addWidget(addButton_, 0, 1);
    layout->addWidget(removeButton_, 0, 2);
    layout->addWidget(asWholeCheck_, 0, 3);
    layout->addWidget(tree_, 1, 0, 1, 4);
    layout->addWidget(outputAsFilesCheck_, 2, 0);
    layout->addWidget(editButton_, 2, 1);
    layout->setColumnStretch(0, 1);

    outputAsFilesCheck_->setChecked(outputAsFiles != 0);
    asWholeCheck_->setChecked(asWhole != 0);
    editButton_->setEnabled(outputAsFilesCheck_->isChecked());

    connect(addButton_, &QPushButton::clicked, this, &CPageCorpus::OnAdd);
    connect(removeButton_, &QPushButton::clicked, this, &CPageCorpus::OnRemove);
    connect(editButton_, &QPushButton::clicked, this, &CPageCorpus::OnEdit);
    connect(outputAsFilesCheck_, &QCheckBox::clicked, this, &CPageCorpus::OnOutputAsFilesClicked);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &CPageCorpus::OnSelectionChanged);
}

CPageCorpus::~CPageCorpus() = default;

int CPageCorpus::OutputAsFiles() const
{
    return outputAsFilesCheck_->isChecked() ? 1 : 0;
}

int CPageCorpus::AsWhole() const
{
    return asWholeCheck_->isChecked() ? 1 : 0;
}

void CPageCorpus::SetFileChooser(CCorpusFileChooser* chooser)
{
    chooser_ = chooser;
}

void CPageCorpus::OnSetActive()
{
    tree_->clear();
    for (size_t i = 0; i < state_.inputFiles.size(); ++i) {
        AppendEntry(state_.inputFiles[i],
                    i < state_.outputFiles.size() ? state_.outputFiles[i] : std::string());
    }
    editButton_->setEnabled(outputAsFilesCheck_->isChecked());
}

bool CPageCorpus::OnKillActive()
{
    editButton_->setEnabled(outputAsFilesCheck_->isChecked());
    state_.inputFiles.clear();
    state_.outputFiles.clear();
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree_->topLevelItem(i);
        state_.inputFiles.push_back(FromDisplay(item->text(0)));
        if (item->childCount() > 0) {
            state_.outputFiles.push_back(FromDisplay(item->child(0)->text(0)));
        }
    }
    // The tree is filled again from the working copy the next time the page shows.
    tree_->clear();
    return true;
}

QTreeWidgetItem* CPageCorpus::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CPageCorpus::AppendEntry(const std::string& input, const std::string& output)
{
    auto* root = new QTreeWidgetItem(tree_, QStringList(ToDisplay(input)));
    new QTreeWidgetItem(root, QStringList(ToDisplay(output)));
}

void CPageCorpus::OnAdd()
{
    CCorpusFileChooser& chooser = chooser_ != nullptr ? *chooser_ : PlatformChooser();
    const QStringList files = chooser.OpenFiles(this, CorpusFilesDialogTitle(), CorpusFileFilter());
    for (const QString& file : files) {
        const std::string path = PathFromFileDialog(file);
        AppendEntry(path, CCorpus::DefaultOutputPath(path));
    }
}

void CPageCorpus::OnRemove()
{
    // With nothing selected there is nothing to remove; the whole list must
    // never go because no entry was chosen.
    QTreeWidgetItem* item = SelectedItem();
    if (item == nullptr || item->parent() != nullptr) {
        return;
    }
    delete item;
}

void CPageCorpus::OnEdit()
{
    QTreeWidgetItem* item = SelectedItem();
    if (item == nullptr) {
        return;
    }
    CCorpusFileChooser& chooser = chooser_ != nullptr ? *chooser_ : PlatformChooser();
    const QString chosen =
        chooser.SaveFile(this, OutputFileDialogTitle(),
                         PathForFileDialog(FromDisplay(item->text(0))), CorpusFileFilter());
    if (chosen.isEmpty()) {
        return;
    }
    item->setText(0, ToDisplay(PathFromFileDialog(chosen)));
}

void CPageCorpus::OnSelectionChanged()
{
    QTreeWidgetItem* item = SelectedItem();
    editButton_->setEnabled(item != nullptr && item->childCount() == 0 &&
                            outputAsFilesCheck_->isChecked());
}

void CPageCorpus::OnOutputAsFilesClicked(bool checked)
{
    // The output paths matter only when results go to files: show them then.
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        tree_->topLevelItem(i)->setExpanded(checked);
        editButton_->setEnabled(checked);
    }
}

}  // namespace plix
