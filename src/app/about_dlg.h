// The About box: the program's icon, name and version, one line on what it
// is, and "OK".
#pragma once

#include <QDialog>

namespace plix {

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);

    static QString VersionLine();
    static QString DescriptionLine();
};

}  // namespace plix
