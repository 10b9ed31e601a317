#include "app/icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace plix {

namespace {

struct Glyph
{
    Cmd id;
    const char* text;
    QRgb colour;
};

// Tool bar groups share a colour: files, editing, lists, concordances, help.
constexpr QRgb kFiles = 0xff3465a4;
constexpr QRgb kEdit = 0xff555753;
constexpr QRgb kLists = 0xff4e9a06;
constexpr QRgb kConcordance = 0xffa40000;
constexpr QRgb kHelp = 0xff75507b;

constexpr Glyph kGlyphs[] = {
    {Cmd::CorpusSetup, "CS", kFiles},      {Cmd::New, "N", kFiles},
    {Cmd::Open, "O", kFiles},              {Cmd::Save, "S", kFiles},
    {Cmd::CorpusOptions, "Op", kFiles},    {Cmd::Cut, "X", kEdit},
    {Cmd::Copy, "C", kEdit},               {Cmd::Paste, "V", kEdit},
    {Cmd::Print, "P", kEdit},              {Cmd::Undo, "U", kEdit},
    {Cmd::Find, "F", kEdit},               {Cmd::Font, "A", kEdit},
    {Cmd::Wordlist, "W", kLists},          {Cmd::DescendingWordlist, "D", kLists},
    {Cmd::Index, "I", kLists},             {Cmd::Concordance, "K", kConcordance},
    {Cmd::Collocation, "Co", kConcordance}, {Cmd::ConcordanceFormat, "Fm", kConcordance},
    {Cmd::About, "?", kHelp},              {Cmd::ContextHelp, "?>", kHelp},
};

QPixmap DrawGlyph(const QString& text, QColor colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(130));
    painter.setBrush(colour);
    const qreal margin = size / 16.0;
    painter.drawRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 5.0,
                            size / 5.0);
    QFont font;
    font.setBold(true);
    font.setPixelSize(text.size() > 1 ? size * 9 / 16 : size * 11 / 16);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    return pixmap;
}

QIcon GlyphIcon(const QString& text, QColor colour)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        icon.addPixmap(DrawGlyph(text, colour, size));
    }
    return icon;
}

}  // namespace

QIcon CommandIcon(Cmd id)
{
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.id == id) {
            return GlyphIcon(QString::fromLatin1(glyph.text), QColor::fromRgba(glyph.colour));
        }
    }
    return QIcon();
}

QIcon ProgramIcon()
{
    return GlyphIcon(QStringLiteral("PX"), QColor::fromRgba(kConcordance));
}

}  // namespace plix
