// Message boxes wide enough for what they say: a path stays on one line.
#pragma once

class QMessageBox;

namespace plix {

// Widens `box` so that each line of its text and informative text fits on one
// line, as far as a message box may grow on its screen; a line longer than
// that is shortened in the middle, and the whole text is in the box's details.
void FitMessageBoxToText(QMessageBox& box);

}  // namespace plix
