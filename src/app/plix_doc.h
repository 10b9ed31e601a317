// CPlixDoc: one result document — the text of an analysis result, of a new
// empty window, or of a file opened by the user. Its text lives in a
// QTextDocument that its views show; it is plain text, never rich text.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QTextDocument;

namespace plix {

class CPlixView;

class CPlixDoc : public QObject
{
    Q_OBJECT

public:
    // A document with this title and no file behind it, owned by `parent`.
    CPlixDoc(const QString& title, QObject* parent);
    ~CPlixDoc() override;

    QTextDocument* TextDocument() const { return text_; }
    QString GetTitle() const { return title_; }
    void SetTitle(const QString& title);
    // The file the document was read from; empty for a new document.
    QString GetPathName() const { return path_; }

    // Reads `path` as plain text in the locale's code page. On failure the
    // document is unchanged and `error` says why. The line end of the file's
    // first line becomes the document's line end.
    [[nodiscard]] bool OnOpenDocument(const QString& path, QString& error);
    // Writes the text to `path` as bytes of the locale's code page, each line
    // ended with the document's line end; the file is replaced only once it
    // has been written whole. Afterwards the document is that file's.
    [[nodiscard]] bool OnSaveDocument(const QString& path, QString& error);

    // The bytes a save writes.
    std::string TextBytes() const;
    // The same bytes handed to `sink` piece by piece, in order; false as soon
    // as the sink refuses a piece.
    [[nodiscard]] bool WriteTextBytes(const std::function<bool(std::string_view)>& sink) const;
    // Lines [first, first + count) as bytes of the locale's code page, without
    // their line ends (count < 0: to the end).
    std::vector<std::string> LineBytes(int first = 0, int count = -1) const;
    int LineCount() const;

    // How lines end when the document is saved: "\r\n" for a result (the
    // engine ends window lines so) and a new document, else as in the file it
    // was read from.
    QString GetLineEnd() const { return lineEnd_; }
    void SetLineEnd(const QString& lineEnd) { lineEnd_ = lineEnd; }

    bool IsModified() const;
    void SetModifiedFlag(bool modified = true);

    // The views that show this document, in the order they were made.
    QList<CPlixView*> Views() const;
    CPlixView* FirstView() const;

signals:
    void titleChanged(const QString& title);
    // A view was added or went away.
    void viewsChanged();
    // The last view went away: the document is about to be deleted.
    void closed(plix::CPlixDoc* doc);

private:
    friend class CPlixView;
    void AddView(CPlixView* view);
    void RemoveView(CPlixView* view);

    QTextDocument* text_;
    QString title_;
    QString path_;
    QString lineEnd_ = QStringLiteral("\r\n");
    QList<QPointer<CPlixView>> views_;
};

}  // namespace plix
