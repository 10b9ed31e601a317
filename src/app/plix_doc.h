// CPlixDoc: one result document — the text of an analysis result, of a new
// empty window, or of a file opened by the user. Its text lives in a
// QTextDocument that its views show; it is plain text, never rich text.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

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
    // document is unchanged and `error` says why.
    [[nodiscard]] bool OnOpenDocument(const QString& path, QString& error);

    // The views that show this document, in the order they were made.
    QList<CPlixView*> Views() const;
    CPlixView* FirstView() const;

signals:
    void titleChanged(const QString& title);
    // The last view went away: the document is about to be deleted.
    void closed(plix::CPlixDoc* doc);

private:
    friend class CPlixView;
    void AddView(CPlixView* view);
    void RemoveView(CPlixView* view);

    QTextDocument* text_;
    QString title_;
    QString path_;
    QList<QPointer<CPlixView>> views_;
};

}  // namespace plix
