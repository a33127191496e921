#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Gettext.h"
#include "platform/Language.h"
#include "platform/ScriptedDialogs.h"
#include "shell/ui/QuorvelApplication.h"
#include "support/TestPaths.h"

#include <QEvent>
#include <QTimer>
#include <QtTest>
#include <new>
#include <stdexcept>

namespace {

// An object whose event handling fails the way a slot or handler of the program can.
class Failing : public QObject {
public:
    enum class What { Quorvel, Memory, Standard, Nested };
    explicit Failing(What what) : m_what(what) {}

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        switch (m_what) {
        case What::Quorvel:
            throw EConvertError(QStringLiteral("'x1' is not a valid integer value"));
        case What::Memory:
            throw std::bad_alloc();
        case What::Standard:
            throw std::runtime_error("disk on fire");
        case What::Nested:
            break;
        }
        return true;
    }

private:
    What m_what;
};

// A dialog service whose error message itself runs more failing events, as a message box's
// own event loop would.
class ReentrantDialogs final : public Dialogs {
public:
    QStringList errors;
    void information(const QString&) override {}
    void warning(const QString&) override {}
    void error(const QString& text) override {
        errors << text;
        Failing again(Failing::What::Standard);
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&again, &event);
    }
    bool confirm(const QString&) override { return false; }
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<int> inputNumber(const QString&, const QString&, int, int, int) override { return {}; }
};

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT

private slots:
    void errorsInEventsAreShownAndTheLoopGoesOn_data();
    void errorsInEventsAreShownAndTheLoopGoesOn();
    void outOfMemoryIsSaidInTheUsersLanguage();
    void anErrorWhileReportingDoesNotStackMessages();
};

void TestErrorReport::errorsInEventsAreShownAndTheLoopGoesOn_data() {
    QTest::addColumn<int>("what");
    QTest::addColumn<QString>("message");
    QTest::newRow("program error") << int(Failing::What::Quorvel) << "'x1' is not a valid integer value";
    QTest::newRow("out of memory") << int(Failing::What::Memory) << "Out of memory";
    QTest::newRow("library error") << int(Failing::What::Standard) << "disk on fire";
}

void TestErrorReport::errorsInEventsAreShownAndTheLoopGoesOn() {
    QFETCH(int, what);
    QFETCH(QString, message);
    ScriptedDialogsGuard dialogs;
    Failing failing(static_cast<Failing::What>(what));
    // Posted, so that the failure happens inside the running event loop.
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    bool loopWentOn = false;
    QTimer::singleShot(0, [&] { loopWentOn = true; });
    QTRY_VERIFY(loopWentOn);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error), QStringList{message});
}

void TestErrorReport::outOfMemoryIsSaidInTheUsersLanguage() {
    Gettext::bindDomains(appDir());
    Language::apply(QStringLiteral("de"));
    ScriptedDialogsGuard dialogs;
    Failing failing(Failing::What::Memory);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&failing, &event);
    Language::apply(QString());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error), QStringList{"Nicht genügend Speicher"});
}

void TestErrorReport::anErrorWhileReportingDoesNotStackMessages() {
    auto reentrant = std::make_unique<ReentrantDialogs>();
    ReentrantDialogs* seen = reentrant.get();
    std::unique_ptr<Dialogs> previous = setDialogs(std::move(reentrant));
    Failing failing(Failing::What::Quorvel);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&failing, &event);
    QCoreApplication::sendEvent(&failing, &event);
    const QStringList errors = seen->errors;
    setDialogs(std::move(previous));
    // One message per failure; the failure inside the open message is not shown on top of it.
    QCOMPARE(errors, QStringList(2, "'x1' is not a valid integer value"));
}

int main(int argc, char** argv) {
    QuorvelApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreport.moc"
