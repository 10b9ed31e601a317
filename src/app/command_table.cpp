#include "app/command_table.h"

#include <QStringList>

namespace plix {

namespace {

using E = Enabling;

// clang-format off
const std::vector<CommandInfo> kCommands = {
    // id                      menu text                        with a result window         prompt\ntool tip                                            enabling         shortcuts
    {Cmd::CorpusSetup,        "&Corpus Setup\tCtrl+D",          nullptr,                      "Set up Corpus Files\nCorpus Setup",                          E::Always,      "Ctrl+D"},
    {Cmd::New,                "&New\tCtrl+N",                   nullptr,                      "Open a new empty result window\nNew",                        E::Always,      "Ctrl+N"},
    {Cmd::Open,               "&Open...\tCtrl+O",               nullptr,                      "Open a text file in a result window\nOpen",                  E::Always,      "Ctrl+O"},
    {Cmd::Close,              "&Close",                         nullptr,                      "Close the active result window\nClose",                      E::NeedsWindow, ""},
    {Cmd::CloseWindow,        "Close Window",                   nullptr,                      "Close the active result window\nClose Window",               E::NeedsWindow, "Ctrl+F4; Ctrl+W"},
    {Cmd::Save,               "&Save\tCtrl+S",                  nullptr,                      "Save the active result\nSave",                               E::NeedsWindow, "Ctrl+S"},
    {Cmd::SaveAs,             "Save &As...",                    nullptr,                      "Save the active result under a new name\nSave As",           E::NeedsWindow, ""},
    {Cmd::CorpusOptions,      "Corp&us Options\tCtrl+R",        nullptr,                      "Set up Corpus Options\nOptions",                             E::NeedsCorpus, "Ctrl+R"},
    {Cmd::Print,              "&Print...\tCtrl+P",              nullptr,                      "Print the active result\nPrint",                             E::NeedsWindow, "Ctrl+P"},
    {Cmd::PrintPreview,       "Print Pre&view",                 nullptr,                      "Show the printed pages on the screen\nPrint Preview",        E::NeedsWindow, ""},
    {Cmd::PrintSetup,         "P&rint Setup...",                nullptr,                      "Choose the printer and the paper\nPrint Setup",              E::Always,      ""},
    {Cmd::Exit,               "E&xit",                          nullptr,                      "Quit the program\nExit",                                     E::Always,      ""},

    {Cmd::Undo,               "&Undo\tCtrl+Z",                  nullptr,                      "Undo the last change\nUndo",                                 E::NeedsWindow, "Ctrl+Z; Alt+Backspace"},
    {Cmd::Cut,                "Cu&t\tCtrl+X",                   nullptr,                      "Cut the selection to the clipboard\nCut",                    E::NeedsWindow, "Shift+Del"},
    {Cmd::Copy,               "&Copy\tCtrl+C",                  nullptr,                      "Copy the selection to the clipboard\nCopy",                  E::NeedsWindow, "Ctrl+C; Ctrl+Ins"},
    {Cmd::Paste,              "&Paste\tCtrl+V",                 nullptr,                      "Insert the clipboard's text\nPaste",                         E::NeedsWindow, "Ctrl+V; Shift+Ins"},
    {Cmd::PasteSpecial,       "Paste &Special...",              nullptr,                      "Insert the clipboard's text as plain text\nPaste Special",   E::NeedsWindow, ""},
    {Cmd::SelectAll,          "Select A&ll\tCtrl+A",            nullptr,                      "Select the whole text\nSelect All",                          E::NeedsWindow, "Ctrl+A"},
    {Cmd::Find,               "&Find...\tCtrl+F",               nullptr,                      "Find a text\nFind",                                          E::NeedsWindow, "Ctrl+F"},
    {Cmd::FindNext,           "F&ind Next\tF3",                 nullptr,                      "Find the next occurrence\nFind Next",                        E::NeedsWindow, "F3"},
    {Cmd::Replace,            "R&eplace\tCtrl+H",               nullptr,                      "Replace a text with another\nReplace",                       E::NeedsWindow, "Ctrl+H"},
    {Cmd::InsertObject,       "Insert &New Object...",          nullptr,                      "Insert an embedded object\nInsert Object",                   E::Never,       ""},
    {Cmd::Links,              "Lin&ks...",                      nullptr,                      "Edit the linked objects\nLinks",                             E::Never,       ""},
    {Cmd::ObjectProperties,   "Object P&roperties\tAlt+Enter",  nullptr,                      "Show the properties of the selected object\nProperties",     E::Never,       "Alt+Return; Alt+Enter"},

    {Cmd::Toolbar,            "&Toolbar",                       nullptr,                      "Show or hide the tool bar\nToggle Toolbar",                  E::Always,      ""},
    {Cmd::StatusBar,          "&Status Bar",                    nullptr,                      "Show or hide the status bar\nToggle Status Bar",             E::Always,      ""},
    {Cmd::Font,               "&Font...",                       nullptr,                      "Choose the font of the result window\nFont",                 E::NeedsWindow, ""},
    {Cmd::Jump,               "&Jump",                          nullptr,                      "Go to",                                                      E::NeedsWindow, "Ctrl+J"},
    {Cmd::TagJump,            "Ta&g Jump",                      nullptr,                      "Go to the Tagged position",                                  E::NeedsWindow, ""},
    {Cmd::WordWrap,           "&Word Wrap",                     nullptr,                      "Word Wrap",                                                  E::NeedsWindow, ""},

    {Cmd::Wordlist,           "&Wordlist\tCtrl+L",              nullptr,                      "Make a Word List\nWord List",                                E::NeedsCorpus, "Ctrl+L"},
    {Cmd::BackwardList,       "&Backward List",                 "&Backward List\tCtrl+T",     "Make a backward list",                                       E::NeedsCorpus, "Ctrl+T"},
    {Cmd::DescendingWordlist, "&Descending Wordlist\tCtrl+Q",   nullptr,                      "Make a descending wordlist\na descending list",              E::NeedsCorpus, "Ctrl+Q"},
    {Cmd::AscendingWordlist,  "&Ascending Wordlist",            nullptr,                      "Make an ascending wordlist",                                 E::NeedsCorpus, ""},
    {Cmd::Index,              "&Index\tCtrl+I",                 "&Index",                     "Make an Index\nIndex",                                       E::NeedsCorpus, "Ctrl+I"},
    {Cmd::RhymeIndex,         "R&hyme Index",                   nullptr,                      "Make a Rhyme Index",                                         E::NeedsCorpus, ""},
    {Cmd::ListOption,         "List &Option ...",               nullptr,                      "Set up List Options",                                        E::NeedsCorpus, ""},

    {Cmd::Concordance,        "&PLIX Concordance\tCtrl+K",      nullptr,                      "Make a Concordance\nConcordance",                            E::NeedsCorpus, "Ctrl+K"},
    {Cmd::ConcordanceLeft,    "PLIX sort by &Left",             nullptr,                      "Make a Concordance sort by Left\nLeft Concordance",          E::NeedsCorpus, ""},
    {Cmd::ConcordanceRight,   "PLIX sort by &Right",            nullptr,                      "Make a Concordance sort by Right\nRight Concordance",        E::NeedsCorpus, ""},
    {Cmd::Collocation,        "&Collocation\tCtrl+B",           nullptr,                      "Make a Collocation List\nCollocation",                       E::NeedsCorpus, "Ctrl+B"},
    {Cmd::ConcordanceAll,     "Concordance &All",               nullptr,                      "Make a concordance of all the words",                        E::NeedsCorpus, ""},
    {Cmd::ConcordanceFormat,  "PLIX &Format ...\tCtrl+M",       nullptr,                      "Set up Concordance Format\nFormat",                          E::NeedsCorpus, "Ctrl+M"},

    {Cmd::SortAlphabet,       "&Alphabet",                      nullptr,                      "Alhabetical Order",                                          E::NeedsWindow, ""},
    {Cmd::SortFrequency,      "&Frequency",                     nullptr,                      "Frequency Order",                                            E::NeedsWindow, ""},
    {Cmd::SortKeyword,        "&Keyword",                       nullptr,                      "Sort by Keyword",                                            E::NeedsWindow, ""},
    {Cmd::SortLeft,           "Sort by &Left",                  nullptr,                      "Sort by Left",                                               E::NeedsWindow, ""},
    {Cmd::SortRight,          "Sort by &Right",                 nullptr,                      "キーワード右ソート",                                        E::NeedsWindow, ""},

    {Cmd::QuickWordlist,      "Wordlist",                       nullptr,                      "Quick Wordlist",                                             E::NeedsWindow, ""},
    {Cmd::QuickPlix,          "PLIX",                           nullptr,                      "Quick PLIX",                                                 E::NeedsWindow, ""},

    {Cmd::NewWindow,          "&New Window",                    nullptr,                      "Open another window on the active result\nNew Window",       E::NeedsWindow, ""},
    {Cmd::Cascade,            "&Cascade",                       nullptr,                      "Arrange the windows so that they overlap\nCascade",          E::NeedsWindow, ""},
    {Cmd::Tile,               "&Tile",                          nullptr,                      "Arrange the windows side by side\nTile",                     E::NeedsWindow, ""},
    {Cmd::ArrangeIcons,       "&Arrange Icons",                 nullptr,                      "Line up the minimised windows\nArrange Icons",               E::NeedsWindow, ""},
    {Cmd::NextPane,           "Next Pane",                      nullptr,                      "Go to the next window\nNext Pane",                           E::NeedsWindow, "F6"},
    {Cmd::PreviousPane,       "Previous Pane",                  nullptr,                      "Go to the previous window\nPrevious Pane",                   E::NeedsWindow, "Shift+F6"},

    {Cmd::HelpTopics,         "&Help Topics",                   nullptr,                      "Show the help page\nHelp Topics",                            E::Always,      "F1"},
    {Cmd::About,              "&About plix...",                 nullptr,                      "Show the program's name and version\nAbout",                 E::Always,      ""},
    {Cmd::ContextHelp,        "What's &This?",                  nullptr,                      "Show help for the next button, menu or window clicked\nHelp", E::Always,     "Shift+F1"},
};
// clang-format on

}  // namespace

const std::vector<CommandInfo>& CommandTable()
{
    return kCommands;
}

const CommandInfo& CommandInfoFor(Cmd id)
{
    // The table is in enum order; the fallback search keeps a reordering harmless.
    auto index = static_cast<size_t>(id);
    if (index < kCommands.size() && kCommands[index].id == id) {
        return kCommands[index];
    }
    for (const CommandInfo& info : kCommands) {
        if (info.id == id) {
            return info;
        }
    }
    return kCommands.front();
}

QString PromptText(const CommandInfo& info)
{
    QString prompt = QString::fromUtf8(info.prompt);
    int newline = prompt.indexOf(u'\n');
    return newline < 0 ? prompt : prompt.left(newline);
}

QString ToolTipText(const CommandInfo& info)
{
    QString prompt = QString::fromUtf8(info.prompt);
    int newline = prompt.indexOf(u'\n');
    return newline < 0 ? QString() : prompt.mid(newline + 1);
}

QString MenuText(const CommandInfo& info, bool withWindow)
{
    QString text =
        QString::fromUtf8(withWindow && info.viewText != nullptr ? info.viewText : info.text);
    if (!text.contains(u'\t')) {
        const QList<QKeySequence> keys = Shortcuts(info);
        if (!keys.isEmpty()) {
            text += u'\t' + keys.first().toString(QKeySequence::NativeText);
        }
    }
    return text;
}

QString ButtonToolTip(const CommandInfo& info)
{
    const QString menu = MenuText(info, false);
    QString name = ToolTipText(info);
    if (name.isEmpty()) {
        // The menu entry without its mnemonic and the dots of a dialog.
        name = menu.section(u'\t', 0, 0).remove(u'&').trimmed();
        while (name.endsWith(u'.')) {
            name.chop(1);
        }
        name = name.trimmed();
    }
    const QString key = menu.section(u'\t', 1);
    return key.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, key);
}

QList<QKeySequence> Shortcuts(const CommandInfo& info)
{
    QList<QKeySequence> keys;
    const QStringList parts = QString::fromLatin1(info.keys).split(QStringLiteral("; "), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        keys.append(QKeySequence(part, QKeySequence::PortableText));
    }
    return keys;
}

}  // namespace plix
