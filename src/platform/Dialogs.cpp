#include "platform/Dialogs.h"

namespace {

class SilentDialogs final : public Dialogs {
public:
    void information(const QString&) override {}
    void warning(const QString&) override {}
    void error(const QString&) override {}
    bool confirm(const QString&) override { return false; }
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&, const QString& defaultText) override { return defaultText; }
    std::optional<int> inputNumber(const QString&, const QString&, int, int, int) override { return std::nullopt; }
};

std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> service = std::make_unique<SilentDialogs>();
    return service;
}

} // namespace

Dialogs& dialogs() { return *current(); }

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> service) {
    if (!service)
        service = std::make_unique<SilentDialogs>();
    std::swap(current(), service);
    return service;
}
