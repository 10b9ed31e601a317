#include "app/plix_doc.h"

#include "app/plix_view.h"
#include "settings/codec.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace plix {

namespace {

// The line end of the first line of a file; files without one get the
// program's own ("\r\n", as results have it).
QString FirstLineEnd(const QByteArray& bytes)
{
    const qsizetype at = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    if (cr >= 0 && (at < 0 || cr < at)) {
        return cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
    }
    return at >= 0 ? QStringLiteral("\n") : QStringLiteral("\r\n");
}

std::string Encode(const QString& text)
{
    return EncodeLocaleText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<size_t>(text.size())));
}

}  // namespace

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
    const QString lineEnd = FirstLineEnd(bytes);
    bytes.clear();
    text_->setUndoRedoEnabled(false);
    text_->setPlainText(QString(reinterpret_cast<const QChar*>(wide.data()),
                                static_cast<qsizetype>(wide.size())));
    text_->setUndoRedoEnabled(true);
    text_->setModified(false);
    lineEnd_ = lineEnd;
    path_ = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    return true;
}

bool CPlixDoc::OnSaveDocument(const QString& path, QString& error)
{
    // Written beside the old file and put in its place at the end: a disk
    // that fills up half-way leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    const bool written = WriteTextBytes([&file](std::string_view piece) {
        return file.write(piece.data(), static_cast<qint64>(piece.size())) == static_cast<qint64>(piece.size());
    });
    if (!written || !file.commit()) {
        error = file.errorString();
        return false;
    }
    text_->setModified(false);
    path_ = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    return true;
}

std::string CPlixDoc::TextBytes() const
{
    std::string bytes;
    (void)WriteTextBytes([&bytes](std::string_view piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}

bool CPlixDoc::WriteTextBytes(const std::function<bool(std::string_view)>& sink) const
{
    // Line by line from the blocks: the document's plain-text export would
    // turn a no-break space into a blank, and its line breaks are always
    // "\n". Handed on in pieces of about a megabyte, so that saving a large
    // result does not hold all of its text a second time.
    constexpr size_t kPiece = 1 << 20;
    const std::string lineEnd = Encode(lineEnd_);
    std::string piece;
    bool first = true;
    for (QTextBlock block = text_->begin(); block.isValid(); block = block.next()) {
        if (!first) {
            piece += lineEnd;
        }
        first = false;
        piece += Encode(block.text());
        if (piece.size() >= kPiece) {
            if (!sink(piece)) {
                return false;
            }
            piece.clear();
        }
    }
    return piece.empty() || sink(piece);
}

std::vector<std::string> CPlixDoc::LineBytes(int first, int count) const
{
    std::vector<std::string> lines;
    const int total = text_->blockCount();
    first = std::clamp(first, 0, total);
    const int end = count < 0 ? total : std::min(total, first + count);
    lines.reserve(static_cast<size_t>(end - first));
    QTextBlock block = text_->findBlockByNumber(first);
    for (int i = first; i < end && block.isValid(); ++i, block = block.next()) {
        lines.push_back(Encode(block.text()));
    }
    return lines;
}

int CPlixDoc::LineCount() const
{
    return text_->blockCount();
}

bool CPlixDoc::IsModified() const
{
    return text_->isModified();
}

void CPlixDoc::SetModifiedFlag(bool modified)
{
    text_->setModified(modified);
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
    emit viewsChanged();
}

void CPlixDoc::RemoveView(CPlixView* view)
{
    views_.removeAll(view);
    views_.removeAll(nullptr);
    emit viewsChanged();
    if (views_.isEmpty()) {
        emit closed(this);
        // Deferred: the view being destroyed may still be using the text.
        deleteLater();
    }
}

}  // namespace plix
