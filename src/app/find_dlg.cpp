#include "app/find_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace plix {

namespace {

QTextDocument::FindFlags Flags(const FindOptions& options, bool backward)
{
    QTextDocument::FindFlags flags;
    if (options.matchCase) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (options.wholeWord) {
        flags |= QTextDocument::FindWholeWords;
    }
    if (backward) {
        flags |= QTextDocument::FindBackward;
    }
    return flags;
}

bool IsOccurrence(const QTextCursor& cursor, const FindOptions& options)
{
    if (!cursor.hasSelection()) {
        return false;
    }
    // The selection is an occurrence when a search from its start finds it.
    QTextCursor from(cursor.document());
    from.setPosition(cursor.selectionStart());
    QTextCursor found = cursor.document()->find(options.what, from, Flags(options, false));
    return !found.isNull() && found.selectionStart() == cursor.selectionStart() &&
           found.selectionEnd() == cursor.selectionEnd();
}

}  // namespace

bool FindNextIn(QPlainTextEdit* view, const FindOptions& options)
{
    if (view == nullptr || options.what.isEmpty()) {
        return false;
    }
    QTextDocument* document = view->document();
    const QTextDocument::FindFlags flags = Flags(options, options.backward);
    QTextCursor found = document->find(options.what, view->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor from(document);
        from.movePosition(options.backward ? QTextCursor::End : QTextCursor::Start);
        found = document->find(options.what, from, flags);
    }
    if (found.isNull()) {
        return false;
    }
    view->setTextCursor(found);
    return true;
}

bool ReplaceIn(QPlainTextEdit* view, const FindOptions& options)
{
    if (view == nullptr || options.what.isEmpty()) {
        return false;
    }
    QTextCursor cursor = view->textCursor();
    if (!view->isReadOnly() && IsOccurrence(cursor, options)) {
        cursor.insertText(options.with);
        view->setTextCursor(cursor);
    }
    return FindNextIn(view, options);
}

int ReplaceAllIn(QPlainTextEdit* view, const FindOptions& options)
{
    if (view == nullptr || options.what.isEmpty() || view->isReadOnly()) {
        return 0;
    }
    QTextDocument* document = view->document();
    const QTextDocument::FindFlags flags = Flags(options, false);
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor at(document);
    while (true) {
        QTextCursor found = document->find(options.what, at, flags);
        if (found.isNull()) {
            break;
        }
        edit.setPosition(found.selectionStart());
        edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
        edit.insertText(options.with);
        ++count;
        // Go on after the replacement, so that a replacement holding the
        // text searched for is not replaced again.
        at = edit;
    }
    edit.endEditBlock();
    return count;
}

CFindReplaceDlg::CFindReplaceDlg(bool replace, QWidget* parent)
    : QDialog(parent),
      replace_(replace),
      what_(new QLineEdit(this)),
      wholeWord_(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      findNext_(new QPushButton(QStringLiteral("&Find Next"), this))
{
    setObjectName(replace ? QStringLiteral("replaceDialog") : QStringLiteral("findDialog"));
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    what_->setObjectName(QStringLiteral("findWhat"));
    auto* fields = new QGridLayout;
    auto* whatLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    whatLabel->setBuddy(what_);
    fields->addWidget(whatLabel, 0, 0);
    fields->addWidget(what_, 0, 1);
    if (replace) {
        with_ = new QLineEdit(this);
        with_->setObjectName(QStringLiteral("replaceWith"));
        auto* withLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        withLabel->setBuddy(with_);
        fields->addWidget(withLabel, 1, 0);
        fields->addWidget(with_, 1, 1);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(wholeWord_);
    checks->addWidget(matchCase_);
    options->addLayout(checks);
    if (!replace) {
        auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
        up_ = new QRadioButton(QStringLiteral("&Up"), direction);
        down_ = new QRadioButton(QStringLiteral("&Down"), direction);
        down_->setChecked(true);
        auto* directions = new QHBoxLayout(direction);
        directions->addWidget(up_);
        directions->addWidget(down_);
        options->addWidget(direction);
    }
    left->addLayout(options);
    left->addStretch(1);

    auto* buttons = new QVBoxLayout;
    findNext_->setObjectName(QStringLiteral("findNext"));
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    connect(findNext_, &QPushButton::clicked, this, &CFindReplaceDlg::findNext);
    if (replace) {
        replaceOne_ = new QPushButton(QStringLiteral("&Replace"), this);
        replaceOne_->setObjectName(QStringLiteral("replaceOne"));
        replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
        replaceAll_->setObjectName(QStringLiteral("replaceAll"));
        buttons->addWidget(replaceOne_);
        buttons->addWidget(replaceAll_);
        connect(replaceOne_, &QPushButton::clicked, this, &CFindReplaceDlg::replaceCurrent);
        connect(replaceAll_, &QPushButton::clicked, this, &CFindReplaceDlg::replaceAll);
    }
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    connect(what_, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
    UpdateButtons();
}

FindOptions CFindReplaceDlg::Options() const
{
    FindOptions options;
    options.what = what_->text();
    options.with = with_ != nullptr ? with_->text() : QString();
    options.matchCase = matchCase_->isChecked();
    options.wholeWord = wholeWord_->isChecked();
    options.backward = up_ != nullptr && up_->isChecked();
    return options;
}

void CFindReplaceDlg::SetOptions(const FindOptions& options)
{
    what_->setText(options.what);
    what_->selectAll();
    if (with_ != nullptr) {
        with_->setText(options.with);
    }
    matchCase_->setChecked(options.matchCase);
    wholeWord_->setChecked(options.wholeWord);
    if (up_ != nullptr) {
        (options.backward ? up_ : down_)->setChecked(true);
    }
}

void CFindReplaceDlg::UpdateButtons()
{
    // Nothing to look for: nothing to press.
    const bool any = !what_->text().isEmpty();
    findNext_->setEnabled(any);
    if (replaceOne_ != nullptr) {
        replaceOne_->setEnabled(any);
        replaceAll_->setEnabled(any);
    }
}

}  // namespace plix
