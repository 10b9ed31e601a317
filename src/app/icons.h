// The tool bar's pictures and the program's icon, drawn at run time so that
// the program needs no image files or icon theme.
#pragma once

#include <QIcon>

#include "app/command_table.h"

namespace plix {

QIcon CommandIcon(Cmd id);
QIcon ProgramIcon();

}  // namespace plix
