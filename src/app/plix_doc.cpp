#include "app/plix_doc.h"

#include "app/plix_view.h"
#include "settings/codec.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

namespace plix {

CPlixDoc::CPlixDoc(const QString& title, QObject* parent)
    : QObject(parent), text_(new QTextDocument(this)), title_(title)
{
    // A plain-text layout lays out only what is shown: a result of a million
    // lines stays quick to scroll.
    text_->setDocumentLayout(new QPlainTextDocumentLayout(text_));
    text_->setUndoRedoEnabled(true);
}

CPlixDoc::~CPlixDoc() = default;

void CPlixDoc::SetTitle(const QString& title)
{
    if (title_ == title) {
        return;
    }
    title_ = title;
    emit titleChanged(title_);
}

bool CPlixDoc::OnOpenDocument(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    std::u16string wide =
        DecodeLocaleText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    bytes.clear();
    text_->setUndoRedoEnabled(false);
    text_->setPlainText(QString(reinterpret_cast<const QChar*>(wide.data()),
                                static_cast<qsizetype>(wide.size())));
    text_->setUndoRedoEnabled(true);
    text_->setModified(false);
    path_ = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    return true;
}

QList<CPlixView*> CPlixDoc::Views() const
{
    QList<CPlixView*> views;
    for (const QPointer<CPlixView>& view : views_) {
        if (view) {
            views.append(view);
        }
    }
    return views;
}

CPlixView* CPlixDoc::FirstView() const
{
    for (const QPointer<CPlixView>& view : views_) {
        if (view) {
            return view;
        }
    }
    return nullptr;
}

void CPlixDoc::AddView(CPlixView* view)
{
    views_.append(view);
}

void CPlixDoc::RemoveView(CPlixView* view)
{
    views_.removeAll(view);
    views_.removeAll(nullptr);
    if (views_.isEmpty()) {
        emit closed(this);
        // Deferred: the view being destroyed may still be using the text.
        deleteLater();
    }
}

}  // namespace plix
