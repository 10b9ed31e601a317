// The tool bar's pictures and the program's icon: the desktop icon theme's
// picture where it has one for the command, else one drawn at run time, so
// that the program needs no image files.
#pragma once

#include <QIcon>

#include "app/command_table.h"

namespace plix {

QIcon CommandIcon(Cmd id);
// The program's own picture of a command (null for a command without one).
QIcon DrawnCommandIcon(Cmd id);
QIcon ProgramIcon();

}  // namespace plix
