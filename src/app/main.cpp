// plix: the desktop concordancer.
//
//   plix [FILE...]     opens each FILE in a result window (a new empty one without)
//
// Hidden options serve scripted runs such as tests/app/screenshot.sh:
//   --automate-wordlist              runs "&Wordlist" at start
//   --automate-concordance=KEYWORD   then "&PLIX Concordance" with KEYWORD
//   --automate-grab=FILE.png         then saves a picture of the screen and quits
//                                    (status 1 unless the newest result is in front)
#include "app/plix_app.h"
#include "settings/qt/qt_settings_store.h"

#include <QApplication>

#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    // "System" in the Locale list means the user's own locale.
    std::setlocale(LC_ALL, "");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("PLIX"));
    QApplication::setApplicationName(QStringLiteral("plix"));
    // No display name: the window system would add it to every title, and the
    // main window's title already starts with the program's name.

    plix::CPlixApp app(std::make_unique<plix::CQtSettingsStore>());
    if (!app.InitInstance(QApplication::arguments())) {
        return 1;
    }
    int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
