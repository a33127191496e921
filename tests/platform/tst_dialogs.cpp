#include "platform/ScriptedDialogs.h"

#include <QtTest>

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void answersInOrderAndRecords();
    void guardRestoresService();
};

void TestDialogs::answersInOrderAndRecords() {
    ScriptedDialogsGuard d;
    d->answerYes();
    d->answerText(QStringLiteral("12"));
    d->cancelNumber();
    QVERIFY(dialogs().confirm(QStringLiteral("Sure?")));
    QCOMPARE(dialogs().inputBox(QStringLiteral("Input Box"), QStringLiteral("Line:"), QStringLiteral("1")),
             QStringLiteral("12"));
    QVERIFY(!dialogs().inputNumber(QStringLiteral("c"), QStringLiteral("p"), 3, 0, 10).has_value());
    // Unscripted: No and the default entry.
    QVERIFY(!dialogs().confirm(QStringLiteral("Again?")));
    QCOMPARE(dialogs().inputBox(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("dflt")),
             QStringLiteral("dflt"));
    dialogs().error(QStringLiteral("Bad"));
    QCOMPARE(d->texts(), (QStringList{"Sure?", "Line:", "p", "Again?", "p", "Bad"}));
    QCOMPARE(d->texts(ScriptedDialogs::Kind::Error), QStringList{"Bad"});
}

void TestDialogs::guardRestoresService() {
    Dialogs* before = &dialogs();
    {
        ScriptedDialogsGuard d;
        QVERIFY(&dialogs() == &*d);
    }
    QVERIFY(&dialogs() == before);
}

QTEST_GUILESS_MAIN(TestDialogs)
#include "tst_dialogs.moc"
