// A fresh desktop application per test: an in-memory settings store, the main
// frame made and shown offscreen, corpus files written to a temporary folder,
// and a helper that answers the modal message boxes a command shows.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <memory>
#include <string>

#include "app/main_frame.h"
#include "app/plix_app.h"
#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "settings/settings_store.h"

namespace plix::test {

inline std::string Bytes(const QString& path)
{
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

class AppFixture
{
public:
    explicit AppFixture(QStringList arguments = {QStringLiteral("plix")},
                        std::unique_ptr<CMemorySettingsStore> store = std::make_unique<CMemorySettingsStore>())
    {
        storeView = store.get();
        app = std::make_unique<CPlixApp>(std::move(store));
        started = app->InitInstance(arguments);
    }

    CMainFrame* Frame() const { return app->MainFrame(); }

    // Writes a corpus file into the temporary folder and returns its path.
    QString WriteFile(const QString& name, const QByteArray& bytes) const
    {
        QString path = dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return path;
    }

    // Adds a corpus list entry, as the Corpus Files page would.
    QString AddCorpusFile(const QString& name, const QByteArray& bytes)
    {
        QString path = WriteFile(name, bytes);
        app->Corpus().AddInputFile(Bytes(path));
        app->Corpus().AddOutputFile(CCorpus::DefaultOutputPath(Bytes(path)));
        Frame()->UpdateCommandUI();
        return path;
    }

    // Answers "yes" to "ask for a keyword" with `keyword`.
    void AnswerKeyword(const std::string& keyword)
    {
        app->SetKeywordAsker([keyword]() {
            KeywordRequest request;
            request.keyword = keyword;
            return std::optional<KeywordRequest>(request);
        });
    }

    QTemporaryDir dir;
    CMemorySettingsStore* storeView = nullptr;
    std::unique_ptr<CPlixApp> app;
    bool started = false;
};

// Closes every modal message box that comes up while it lives, remembering
// their texts (a command's "Abort Process" would otherwise wait for a click).
class MessageBoxCloser
{
public:
    MessageBoxCloser()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                texts.append(box->text());
                informative.append(box->informativeText());
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }

    QStringList texts;
    QStringList informative;

private:
    QTimer timer_;
};

// Answers every modal question box that comes up while it lives with the
// same button, remembering the questions.
class QuestionAnswerer
{
public:
    explicit QuestionAnswerer(QMessageBox::StandardButton answer) : answer_(answer)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible() && box->button(answer_) != nullptr) {
                questions.append(box->text());
                informative.append(box->informativeText());
                box->button(answer_)->click();
            }
        });
        timer_.start();
    }

    QStringList questions;
    QStringList informative;

  private:
    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

// Reads a whole file's bytes.
inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a document's line (from 0), without its line end.
inline QString LineText(const CPlixView* view, int line)
{
    return view->document()->findBlockByNumber(line).text();
}

// Whether the character at `position` of the view's text is shown in red.
inline bool IsRed(const CPlixView* view, int position)
{
    QTextCursor cursor(view->document());
    cursor.setPosition(position);
    // The format of the character after the position is that of the cursor
    // moved one step on.
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat().foreground().color() == CPlixView::KeywordColour();
}

// The runs of red characters of the view's text, in order, each a whole
// keyword where the colouring is right.
inline QStringList RedRuns(const CPlixView* view)
{
    QStringList runs;
    QString run;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().foreground().color() == CPlixView::KeywordColour()) {
                run += fragment.text();
            } else if (!run.isEmpty()) {
                runs.append(run);
                run.clear();
            }
        }
        if (!run.isEmpty()) {
            runs.append(run);
            run.clear();
        }
    }
    return runs;
}

}  // namespace plix::test
