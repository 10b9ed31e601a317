// Every command of the desktop program in one table: its menu texts (the part
// after "\t" is the shortcut label the menu shows), its status-bar prompt and
// tool tip, its keyboard shortcuts and the rule that enables it. The main frame
// builds its menus, tool bar and accelerators from this table, so a text or a
// shortcut is changed in one place.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

namespace plix {

enum class Cmd
{
    // File
    CorpusSetup,
    New,
    Open,
    Close,
    CloseWindow,
    Save,
    SaveAs,
    CorpusOptions,
    Print,
    PrintPreview,
    PrintSetup,
    Exit,
    // Edit
    Undo,
    Cut,
    Copy,
    Paste,
    PasteSpecial,
    SelectAll,
    Find,
    FindNext,
    Replace,
    InsertObject,
    Links,
    ObjectProperties,
    // View
    Toolbar,
    StatusBar,
    Font,
    Jump,
    TagJump,
    WordWrap,
    // Wordlist
    Wordlist,
    BackwardList,
    DescendingWordlist,
    AscendingWordlist,
    Index,
    RhymeIndex,
    ListOption,
    // Concordance
    Concordance,
    ConcordanceLeft,
    ConcordanceRight,
    Collocation,
    ConcordanceAll,
    ConcordanceFormat,
    // Sort
    SortAlphabet,
    SortFrequency,
    SortKeyword,
    SortLeft,
    SortRight,
    // Quick
    QuickWordlist,
    QuickPlix,
    // Window
    NewWindow,
    Cascade,
    Tile,
    ArrangeIcons,
    NextPane,
    PreviousPane,
    // Help
    HelpTopics,
    About,
    ContextHelp,
};

// When a command may run.
enum class Enabling {
    Always,        // the toolkit's own commands, "&Corpus Setup" and "&About plix..."
    NeedsCorpus,   // the corpus list has at least one entry
    NeedsWindow,   // a result window is active
    Never,         // object embedding: there is no embedding service on this platform
};

struct CommandInfo
{
    Cmd id;
    const char* text;      // the menu text while no result window is open
    const char* viewText;  // the menu text with a result window; null when the same
    const char* prompt;    // status-bar prompt, then "\n" and the tool tip (if any)
    Enabling enabling;
    const char* keys;      // the shortcuts, separated by "; " (empty for none)
};

const std::vector<CommandInfo>& CommandTable();
const CommandInfo& CommandInfoFor(Cmd id);

// The parts of a prompt: the text before the new-line is the status-bar prompt,
// the text after it the tool tip.
QString PromptText(const CommandInfo& info);
QString ToolTipText(const CommandInfo& info);
QList<QKeySequence> Shortcuts(const CommandInfo& info);
// The entry's text in a menu bar: the table's text, with the label of the
// first shortcut after a "\t" where the table gives none, so that every
// entry shows the key that runs it.
QString MenuText(const CommandInfo& info, bool withWindow);
// The tool tip of a tool-bar button: the command's name and its key, as in
// "Concordance (Ctrl+K)".
QString ButtonToolTip(const CommandInfo& info);

}  // namespace plix
