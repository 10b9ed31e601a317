#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace plix {

namespace {

// The desktop's own picture for a command where it has one, so that the tool
// bar looks like the other programs of the desktop.
const char* ThemeName(Cmd id)
{
    switch (id) {
        case Cmd::New:
            return "document-new";
        case Cmd::Open:
            return "document-open";
        case Cmd::Save:
            return "document-save";
        case Cmd::CorpusOptions:
            return "document-properties";
        case Cmd::Cut:
            return "edit-cut";
        case Cmd::Copy:
            return "edit-copy";
        case Cmd::Paste:
            return "edit-paste";
        case Cmd::Print:
            return "document-print";
        case Cmd::Undo:
            return "edit-undo";
        case Cmd::Find:
            return "edit-find";
        case Cmd::Font:
            return "preferences-desktop-font";
        case Cmd::DescendingWordlist:
            return "view-sort-descending";
        case Cmd::About:
            return "help-about";
        case Cmd::ContextHelp:
            return "help-contextual";
        default:
            // The concordancer's own commands have no picture in a desktop
            // theme: they are always drawn.
            return nullptr;
    }
}

// Drawn pictures, for the program's own commands and a desktop without an icon
// theme. Each is drawn on a 16 x 16 grid scaled to the size asked for.
constexpr QRgb kInk = 0xff2e3436;
constexpr QRgb kPaper = 0xffffffff;
constexpr QRgb kBlue = 0xff3465a4;
constexpr QRgb kRed = 0xffcc0000;
constexpr QRgb kGreen = 0xff4e9a06;
constexpr QRgb kYellow = 0xffedd400;
constexpr QRgb kGrey = 0xff888a85;

using Drawing = std::function<void(QPainter&)>;

QPen Pen(QRgb colour, qreal width = 1.0)
{
    QPen pen{QColor::fromRgba(colour), width};
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A sheet of paper with a folded corner.
void Page(QPainter& p, const QRectF& r)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 3, r.top());
    sheet.lineTo(r.right(), r.top() + 3);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(Pen(kInk));
    p.setBrush(QColor::fromRgba(kPaper));
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

// Lines of text between `top` and `bottom`, the given widths in grid units.
void TextLines(QPainter& p, qreal left, qreal top, std::initializer_list<qreal> widths,
               QRgb colour = kGrey)
{
    p.setPen(Pen(colour));
    qreal y = top;
    for (qreal width : widths) {
        p.drawLine(QPointF(left, y), QPointF(left + width, y));
        y += 2;
    }
}

// Concordance lines: text on both sides of a keyword column in red.
void KeywordLines(QPainter& p, int rows)
{
    for (int i = 0; i < rows; ++i) {
        const qreal y = 3.5 + i * 3;
        p.setPen(Pen(kGrey));
        p.drawLine(QPointF(1.5 + (i % 2), y), QPointF(5.5, y));
        p.drawLine(QPointF(10.5, y), QPointF(14.5 - (i % 3), y));
        p.setPen(Pen(kRed, 1.5));
        p.drawLine(QPointF(7, y), QPointF(9, y));
    }
}

Drawing DrawingFor(Cmd id)
{
    switch (id) {
        case Cmd::CorpusSetup:
            // The corpus: a stack of text files.
            return [](QPainter& p) {
                Page(p, QRectF(5.5, 1.5, 9, 11));
                Page(p, QRectF(3.5, 2.5, 9, 11));
                Page(p, QRectF(1.5, 3.5, 9, 11));
                TextLines(p, 3.5, 7.5, {5, 5, 4});
            };
        case Cmd::New:
            return [](QPainter& p) {
                Page(p, QRectF(2.5, 1.5, 10, 13));
                p.setPen(Pen(kYellow, 1.5));
                p.drawLine(QPointF(12, 10), QPointF(12, 15));
                p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 12.5));
            };
        case Cmd::Open:
            return [](QPainter& p) {
                p.setPen(Pen(kInk));
                p.setBrush(QColor::fromRgba(kYellow));
                QPainterPath folder;
                folder.moveTo(1.5, 13.5);
                folder.lineTo(1.5, 3.5);
                folder.lineTo(5.5, 3.5);
                folder.lineTo(6.5, 5.5);
                folder.lineTo(12.5, 5.5);
                folder.lineTo(12.5, 7.5);
                p.drawPath(folder);
                QPainterPath flap;
                flap.moveTo(1.5, 13.5);
                flap.lineTo(4.5, 7.5);
                flap.lineTo(15, 7.5);
                flap.lineTo(12.5, 13.5);
                flap.closeSubpath();
                p.drawPath(flap);
            };
        case Cmd::Save:
            // A disk.
            return [](QPainter& p) {
                p.setPen(Pen(kInk));
                p.setBrush(QColor::fromRgba(kBlue));
                p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
                p.setBrush(QColor::fromRgba(kPaper));
                p.drawRect(QRectF(4.5, 1.5, 7, 5));
                p.drawRect(QRectF(3.5, 9.5, 9, 5));
            };
        case Cmd::CorpusOptions:
            // Three sliders.
            return [](QPainter& p) {
                for (int i = 0; i < 3; ++i) {
                    const qreal y = 3.5 + i * 4.5;
                    const qreal knob = 4 + ((i * 5) % 8);
                    p.setPen(Pen(kGrey, 1.5));
                    p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
                    p.setPen(Pen(kInk));
                    p.setBrush(QColor::fromRgba(kBlue));
                    p.drawEllipse(QPointF(knob, y), 2, 2);
                }
            };
        case Cmd::Cut:
            return [](QPainter& p) {
                p.setPen(Pen(kInk, 1.2));
                p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
                p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
                p.setBrush(Qt::NoBrush);
                p.setPen(Pen(kRed, 1.5));
                p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
                p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
            };
        case Cmd::Copy:
            return [](QPainter& p) {
                Page(p, QRectF(1.5, 1.5, 8, 10));
                Page(p, QRectF(6.5, 4.5, 8, 10));
                TextLines(p, 8.5, 8.5, {4, 4, 3});
            };
        case Cmd::Paste:
            // A clipboard with a sheet on it.
            return [](QPainter& p) {
                p.setPen(Pen(kInk));
                p.setBrush(QColor(0xc1, 0x7d, 0x11));
                p.drawRoundedRect(QRectF(2.5, 2.5, 10, 12), 1, 1);
                p.setBrush(QColor::fromRgba(kGrey));
                p.drawRect(QRectF(5.5, 1.5, 4, 2));
                Page(p, QRectF(6.5, 6.5, 8, 8.5));
            };
        case Cmd::Print:
            return [](QPainter& p) {
                Page(p, QRectF(4.5, 1.5, 7, 6));
                p.setPen(Pen(kInk));
                p.setBrush(QColor::fromRgba(kGrey));
                p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
                p.setBrush(QColor::fromRgba(kPaper));
                p.drawRect(QRectF(4.5, 10.5, 7, 4));
            };
        case Cmd::Undo:
            // An arrow turning back.
            return [](QPainter& p) {
                p.setPen(Pen(kBlue, 2));
                p.setBrush(Qt::NoBrush);
                QPainterPath curve;
                curve.moveTo(4, 6);
                curve.cubicTo(10, 3, 16, 8, 11, 14);
                p.drawPath(curve);
                p.drawLine(QPointF(4, 6), QPointF(5.5, 2));
                p.drawLine(QPointF(4, 6), QPointF(8, 7.5));
            };
        case Cmd::Find:
            // A magnifying glass.
            return [](QPainter& p) {
                p.setPen(Pen(kInk, 2.5));
                p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
                p.setPen(Pen(kInk, 1.5));
                p.setBrush(QColor(0xdd, 0xee, 0xff));
                p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
            };
        case Cmd::Font:
            // A letter shape over a coloured rule: the type face, not a badge.
            return [](QPainter& p) {
                p.setPen(Pen(kInk, 1.8));
                p.drawLine(QPointF(3, 12), QPointF(8, 2));
                p.drawLine(QPointF(8, 2), QPointF(13, 12));
                p.drawLine(QPointF(5, 8.5), QPointF(11, 8.5));
                p.setPen(Pen(kRed, 2));
                p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
            };
        case Cmd::Wordlist:
            // Words, each with its count in a column of its own.
            return [](QPainter& p) {
                Page(p, QRectF(1.5, 1.5, 13, 13));
                for (int i = 0; i < 4; ++i) {
                    const qreal y = 4.5 + i * 2.5;
                    p.setPen(Pen(kInk));
                    p.drawLine(QPointF(3.5, y), QPointF(3.5 + 3 + (i * 3) % 4, y));
                    p.setPen(Pen(kGreen));
                    p.drawLine(QPointF(10.5, y), QPointF(12.5, y));
                }
            };
        case Cmd::DescendingWordlist:
            // Bars from the longest down, as the counts go.
            return [](QPainter& p) {
                for (int i = 0; i < 4; ++i) {
                    const qreal y = 3 + i * 3;
                    p.setPen(Pen(kGreen, 2));
                    p.drawLine(QPointF(1.5, y), QPointF(10.5 - i * 2.5, y));
                }
                p.setPen(Pen(kInk, 1.5));
                p.drawLine(QPointF(13.5, 2), QPointF(13.5, 13.5));
                p.drawLine(QPointF(13.5, 13.5), QPointF(11.5, 11));
                p.drawLine(QPointF(13.5, 13.5), QPointF(15.5, 11));
            };
        case Cmd::Index:
            // A word, and under it the line numbers where it stands.
            return [](QPainter& p) {
                Page(p, QRectF(1.5, 1.5, 13, 13));
                for (int i = 0; i < 2; ++i) {
                    const qreal y = 4.5 + i * 5;
                    p.setPen(Pen(kInk));
                    p.drawLine(QPointF(3.5, y), QPointF(8.5, y));
                    p.setPen(Pen(kGreen));
                    for (int k = 0; k < 3; ++k) {
                        p.drawPoint(QPointF(4.5 + k * 3, y + 2.5));
                        p.drawLine(QPointF(4.5 + k * 3, y + 2.5), QPointF(5.5 + k * 3, y + 2.5));
                    }
                }
            };
        case Cmd::Concordance:
            return [](QPainter& p) { KeywordLines(p, 4); };
        case Cmd::Collocation:
            // A table of counts around the keyword's own column.
            return [](QPainter& p) {
                p.setPen(Pen(kGrey));
                for (int i = 0; i < 4; ++i) {
                    p.drawLine(QPointF(1.5, 3 + i * 3.5), QPointF(14.5, 3 + i * 3.5));
                }
                for (qreal x : {1.5, 5.0, 11.0, 14.5}) {
                    p.drawLine(QPointF(x, 3), QPointF(x, 13.5));
                }
                p.setPen(Qt::NoPen);
                p.setBrush(QColor::fromRgba(kRed));
                p.drawRect(QRectF(7, 3, 2, 10.5));
            };
        case Cmd::ConcordanceFormat:
            // The keyword lines with the line's width and the keyword's place.
            return [](QPainter& p) {
                p.save();
                p.translate(0, 4);
                KeywordLines(p, 3);
                p.restore();
                p.setPen(Pen(kBlue));
                p.drawLine(QPointF(1.5, 2.5), QPointF(14.5, 2.5));
                p.drawLine(QPointF(1.5, 1), QPointF(1.5, 4));
                p.drawLine(QPointF(14.5, 1), QPointF(14.5, 4));
                p.drawLine(QPointF(8, 1), QPointF(8, 4));
            };
        case Cmd::About:
            return [](QPainter& p) {
                p.setPen(Pen(kInk));
                p.setBrush(QColor::fromRgba(kBlue));
                p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
                p.setPen(Pen(kPaper, 2));
                p.drawPoint(QPointF(8, 4.5));
                p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
            };
        case Cmd::ContextHelp:
            // A question mark beside the pointer.
            return [](QPainter& p) {
                QPainterPath arrow;
                arrow.moveTo(1.5, 1.5);
                arrow.lineTo(1.5, 12);
                arrow.lineTo(4, 9.5);
                arrow.lineTo(6, 14);
                arrow.lineTo(7.5, 13.3);
                arrow.lineTo(5.5, 9);
                arrow.lineTo(9, 9);
                arrow.closeSubpath();
                p.setPen(Pen(kInk));
                p.setBrush(QColor::fromRgba(kPaper));
                p.drawPath(arrow);
                p.setPen(Pen(kBlue, 1.6));
                p.setBrush(Qt::NoBrush);
                QPainterPath mark;
                mark.moveTo(9.5, 4);
                mark.cubicTo(9.5, 1, 14.5, 1, 14.5, 4);
                mark.cubicTo(14.5, 6, 12, 6, 12, 8.5);
                p.drawPath(mark);
                p.drawPoint(QPointF(12, 11.5));
            };
        default:
            return {};
    }
}

QIcon DrawnIcon(const Drawing& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon DrawnCommandIcon(Cmd id)
{
    const Drawing draw = DrawingFor(id);
    return draw ? DrawnIcon(draw) : QIcon();
}

QIcon CommandIcon(Cmd id)
{
    QIcon drawn = DrawnCommandIcon(id);
    const char* name = ThemeName(id);
    if (name == nullptr) {
        return drawn;
    }
    return QIcon::fromTheme(QString::fromLatin1(name), drawn);
}

QIcon ProgramIcon()
{
    return DrawnIcon([](QPainter& p) {
        Page(p, QRectF(1.5, 0.5, 13, 15));
        p.save();
        p.translate(0, 1);
        KeywordLines(p, 4);
        p.restore();
    });
}

}  // namespace plix
