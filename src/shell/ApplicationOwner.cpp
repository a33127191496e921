#include "shell/ApplicationOwner.h"

void ApplicationOwner::freeAll() {
    while (!m_owned.empty()) {
        QPointer<QObject> last = m_owned.back();
        m_owned.pop_back();
        delete last.data();
    }
}

ApplicationOwner& applicationOwner() {
    static ApplicationOwner owner;
    return owner;
}
