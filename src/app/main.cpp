// plix: the desktop concordancer.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("PLIX Concordance"));
    placeholder.show();
    return app.exec();
}
