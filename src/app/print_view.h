// Printing a result view: half an inch of margin on every side of the page,
// the view's font, long lines wrapped to the width of the page.
#pragma once

class QPrinter;

namespace plix {

class CPlixView;

inline constexpr double kPrintMarginInches = 0.5;

// Sets the margins printing starts from.
void SetPrintMargins(QPrinter& printer);
// Prints the view's text (with its colours) on `printer`, or into a preview.
void PrintView(const CPlixView& view, QPrinter& printer);

}  // namespace plix
