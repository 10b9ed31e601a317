#include "settings/ui/dialog_message.h"

#include <QMessageBox>
#include <QWidget>

#include <utility>

namespace plix {

namespace {

DialogMessageHook& InstalledHook()
{
    static DialogMessageHook hook;
    return hook;
}

}  // namespace

void ShowDialogMessage(QWidget* parent, const QString& text)
{
    if (const DialogMessageHook& hook = InstalledHook()) {
        hook(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("plix"), text, QMessageBox::Ok, parent);
    box.exec();
}

DialogMessageHook SetDialogMessageHook(DialogMessageHook hook)
{
    return std::exchange(InstalledHook(), std::move(hook));
}

}  // namespace plix
