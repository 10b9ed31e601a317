// The messages the dialogs show when they refuse or correct a value ("Position
// should be less than the length", the range messages): a modal box with an OK
// button. The way they are shown can be replaced, so that the tests can read
// them instead of having to close boxes.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace plix {

using DialogMessageHook = std::function<void(QWidget* parent, const QString& text)>;

// Shows `text` modally over `parent` (or hands it to the installed hook).
void ShowDialogMessage(QWidget* parent, const QString& text);

// Installs `hook`; an empty one brings back the message box. Returns the hook
// that was installed before.
DialogMessageHook SetDialogMessageHook(DialogMessageHook hook);

}  // namespace plix
