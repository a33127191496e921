#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler or a slot is shown in an
// error message and the event loop goes on: no failure ends the run unreported.
class QuorvelApplication final : public QApplication {
    Q_OBJECT
public:
    QuorvelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error that reached the event loop; also used by the start-up block.
    static void reportError(const QString& message);
};
