#include "app/about_dlg.h"

#include "app/icons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace plix {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About PLIX Concordance"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("versionLine"));
    auto* description = new QLabel(DescriptionLine(), this);
    description->setObjectName(QStringLiteral("descriptionLine"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(description, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(16);
    setFixedSize(sizeHint());
}

QString CAboutDlg::VersionLine()
{
    return QStringLiteral("PLIX Concordance Version 0.1.0");
}

QString CAboutDlg::DescriptionLine()
{
    return QStringLiteral("Word lists, indexes and concordances for corpus linguists");
}

}  // namespace plix
