// A QMainWindow holding a QTextEdit and nothing else: what any Qt Widgets program pays to
// show its first window. bench/startup.sh measures Quorvel against it.
#include <QApplication>
#include <QMainWindow>
#include <QTextEdit>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setCentralWidget(new QTextEdit(&window));
    window.resize(322, 259);
    window.show();
    return app.exec();
}
