#include "app/print_view.h"

#include "app/plix_view.h"

#include <QAbstractTextDocumentLayout>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <QTextOption>

#include <memory>

namespace plix {

void SetPrintMargins(QPrinter& printer)
{
    const qreal m = kPrintMarginInches;
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Inch);
}

void PrintView(const CPlixView& view, QPrinter& printer)
{
    // A copy laid out for the paper: the view's own document is laid out for
    // the screen (and without pages). Given a page size, the copy is printed
    // as it is, inside the printer's margins, with no margins of its own.
    std::unique_ptr<QTextDocument> copy(view.document()->clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDefaultFont(view.font());
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(0);
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    copy->print(&printer);
}

}  // namespace plix
