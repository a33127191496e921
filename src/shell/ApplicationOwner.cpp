#include "shell/ApplicationOwner.h"

void ApplicationOwner::freeAll() {
    while (!m_owned.empty()) {
        Owned last = std::move(m_owned.back());
        m_owned.pop_back();
        if (last.forget) last.forget();
        delete last.object.data();
    }
}

ApplicationOwner& applicationOwner() {
    static ApplicationOwner owner;
    return owner;
}
