#include "shell/ui/QuorvelApplication.h"

#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"

#include <exception>
#include <new>

QuorvelApplication::QuorvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QuorvelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const QuorvelError& e) {
        reportError(e.message());
    } catch (const std::bad_alloc&) {
        reportError(i18n("Out of memory"));
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void QuorvelApplication::reportError(const QString& message) {
    // A message shown while another error message is open would stack up dialogs without end.
    static bool reporting = false;
    if (reporting) return;
    reporting = true;
    dialogs().error(message);
    reporting = false;
}
