#include "app/message_box.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QStringList>
#include <QStyle>

#include <algorithm>

namespace plix {

namespace {

// The widest a message box makes itself on a screen of this width.
int WidestBox(int screenWidth)
{
    return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

}  // namespace

void FitMessageBoxToText(QMessageBox& box)
{
    const QScreen* screen =
        box.screen() != nullptr ? box.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->availableGeometry().width() : 1280;
    const QStyle* style = box.style();
    // Beside the text: the icon, the spacing and the box's margins.
    const int besides = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box) + 4 * 12;
    const int widest = WidestBox(screenWidth) - besides;
    const QFontMetrics metrics = box.fontMetrics();

    bool shortened = false;
    int needed = 0;
    auto fit = [&](const QString& text) {
        QStringList lines = text.split(u'\n');
        for (QString& line : lines) {
            int width = metrics.horizontalAdvance(line);
            if (width > widest) {
                line = metrics.elidedText(line, Qt::ElideMiddle, widest);
                width = metrics.horizontalAdvance(line);
                shortened = true;
            }
            needed = std::max(needed, width);
        }
        return lines.join(u'\n');
    };
    const QString text = box.text();
    const QString informative = box.informativeText();
    const QString fittedText = fit(text);
    const QString fittedInformative = fit(informative);
    if (shortened) {
        box.setDetailedText(informative.isEmpty() ? text : text + u'\n' + informative);
        box.setText(fittedText);
        box.setInformativeText(fittedInformative);
    }
    // The box sizes itself to its layout's minimum width: a spacer as wide as
    // the longest line, across the whole box, keeps the lines unbroken.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(
            new QSpacerItem(needed + besides, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
}

}  // namespace plix
