#include "app/help_page.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace plix {

CHelpPage::CHelpPage(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("PLIX Concordance Help"));
    auto* browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpText"));
    browser->setHtml(Html());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(560, 520);
}

QString CHelpPage::Html()
{
    return QStringLiteral(
        "<h2>PLIX Concordance</h2>"
        "<p>PLIX makes word lists, indexes, concordances and collocation lists of the corpus "
        "files you list. Each result opens in a new result window, or is appended to an "
        "output file per corpus file.</p>"
        "<h3>Getting started</h3>"
        "<ol>"
        "<li><b>File &gt; Corpus Setup</b> (Ctrl+D): add the corpus files. Choose "
        "<i>To Output as Files</i> to append results to output files instead of windows, and "
        "<i>As a Whole</i> for one result over all files.</li>"
        "<li><b>File &gt; Corpus Options</b> (Ctrl+R): the corpus type, the locale used for "
        "sorting and lower-casing, the lines to read and the word options.</li>"
        "<li>Run an analysis from the <b>Wordlist</b> or <b>Concordance</b> menu.</li>"
        "</ol>"
        "<h3>Analyses</h3>"
        "<ul>"
        "<li><b>Wordlist</b> (Ctrl+L), <b>Backward List</b> (Ctrl+T): every word with its "
        "count, in alphabetical order of the word or of its reversed spelling.</li>"
        "<li><b>Descending Wordlist</b> (Ctrl+Q), <b>Ascending Wordlist</b>: by frequency.</li>"
        "<li><b>Index</b> (Ctrl+I): every word with the numbers of the lines it occurs on; "
        "<b>Rhyme Index</b>: the last word of each line, sorted on its reversed spelling.</li>"
        "<li><b>List Option</b>: a keyword (or regular expression) that filters the next list "
        "only.</li>"
        "<li><b>PLIX Concordance</b> (Ctrl+K), <b>sort by Left</b>, <b>sort by Right</b>: every "
        "hit of a keyword or regular expression on one line of fixed length, with the keyword "
        "in red at a fixed column. A context word can restrict the hits.</li>"
        "<li><b>Collocation</b> (Ctrl+B): the words around the keyword, counted by position.</li>"
        "<li><b>Concordance All</b>: a concordance of every word.</li>"
        "<li><b>PLIX Format</b> (Ctrl+M): line length, keyword position and output type.</li>"
        "</ul>"
        "<h3>While a run goes on</h3>"
        "<p>The <i>Searching ...</i> window shows the file being read. <b>CANCEL</b> or Esc "
        "stops the run; what was already written stays.</p>"
        "<h3>Result windows</h3>"
        "<p>A result window is an ordinary text window: select, copy, edit, switch "
        "<b>View &gt; Word Wrap</b>. The status bar shows the line of the caret. "
        "<b>File &gt; Open</b> (Ctrl+O) or dropping files on the main window opens text "
        "files in result windows.</p>");
}

}  // namespace plix
