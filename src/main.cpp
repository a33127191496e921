#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    setDialogs(std::make_unique<QtDialogs>());
    // The shell is not built yet: an empty main window stands in for it.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvel"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
