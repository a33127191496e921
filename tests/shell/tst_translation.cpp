#include "platform/Errors.h"
#include "platform/Gettext.h"
#include "platform/Language.h"
#include "platform/Translation.h"
#include "platform/ui/QtCatalogTranslator.h"
#include "support/TestPaths.h"
#include "support/UnusualFiles.h"

#include <QFileIconProvider>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestTranslation : public QObject {
    Q_OBJECT

private slots:
    void choosesLanguage_data();
    void choosesLanguage();
    void reducesToCatalogueCode_data();
    void reducesToCatalogueCode();
    void refusesCodesThatAreNoLanguage_data();
    void refusesCodesThatAreNoLanguage();
    void germanAnswersQtButtonsAndProgramMessages();
    void unknownLanguageFallsBackToEnglish();
    void cataloguesAreReadThroughTheReader_data();
    void cataloguesAreReadThroughTheReader();
};

void TestTranslation::choosesLanguage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environment"); // NAME=value;NAME=value
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("expected");

    QTest::newRow("argument wins") << QStringList{"quorvel", "de"} << "LANG=fr_FR.UTF-8"
                                   << "it_IT"
                                   << "de";
    QTest::newRow("only the first argument counts") << QStringList{"quorvel", "fr", "de"} << ""
                                                    << "it_IT"
                                                    << "fr";
    QTest::newRow("LANGUAGE before LANG") << QStringList{"quorvel"} << "LANGUAGE=de:en;LANG=fr_FR.UTF-8"
                                          << "it_IT"
                                          << "de";
    QTest::newRow("LC_ALL before LC_MESSAGES")
        << QStringList{"quorvel"} << "LC_ALL=nl_NL.UTF-8;LC_MESSAGES=fr_FR;LANG=de_DE"
        << "it_IT"
        << "nl_NL";
    QTest::newRow("C in LC_ALL is skipped") << QStringList{"quorvel"} << "LC_ALL=C;LANG=de_DE.UTF-8"
                                            << "it_IT"
                                            << "de_DE";
    QTest::newRow("nothing set: the system") << QStringList{"quorvel"} << ""
                                             << "pt_BR"
                                             << "pt_BR";
    QTest::newRow("C.UTF-8 everywhere") << QStringList{"quorvel"} << "LANG=C.UTF-8"
                                        << "C"
                                        << "";
    QTest::newRow("an argument that is a path is ignored")
        << QStringList{"quorvel", "../../etc"} << "LANG=de_DE"
        << "it_IT"
        << "";
    QTest::newRow("an option is no language") << QStringList{"quorvel", "--help"} << ""
                                              << "it_IT"
                                              << "";
}

void TestTranslation::choosesLanguage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, environment);
    QFETCH(QString, system);
    QFETCH(QString, expected);
    QMap<QString, QString> env;
    for (const QString& pair : environment.split(u';', Qt::SkipEmptyParts))
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    const auto lookup = [&env](const char* name) { return env.value(QString::fromLatin1(name)); };
    QCOMPARE(Language::choose(arguments, lookup, system), expected);
}

void TestTranslation::reducesToCatalogueCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "de"
                           << "de";
    QTest::newRow("territory") << "de_AT"
                               << "de_AT";
    QTest::newRow("codeset dropped") << "de_DE.UTF-8"
                                     << "de_DE";
    QTest::newRow("modifier kept") << "de_DE.ISO-8859-15@euro"
                                   << "de_DE@euro";
    QTest::newRow("C") << "C"
                       << "";
    QTest::newRow("POSIX") << "POSIX"
                           << "";
    QTest::newRow("C.UTF-8") << "C.UTF-8"
                             << "";
}

void TestTranslation::reducesToCatalogueCode() {
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(Language::catalogueCode(code), expected);
}

void TestTranslation::refusesCodesThatAreNoLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::newRow("de") << "de" << true;
    QTest::newRow("sr@latin") << "sr_RS@latin" << true;
    QTest::newRow("slash") << "de/../../x" << false;
    QTest::newRow("dots") << ".." << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("option") << "-de" << false;
    QTest::newRow("blank") << "de DE" << false;
    QTest::newRow("too long") << QString(40, u'a') << false;
}

void TestTranslation::refusesCodesThatAreNoLanguage() {
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(Language::isValidCode(code), valid);
}

void TestTranslation::germanAnswersQtButtonsAndProgramMessages() {
    QVERIFY2(QFile::exists(appDir() + "/locale/de/LC_MESSAGES/quorvel-qt.mo"),
             "German Qt catalogue not built");
    Gettext::bindDomains(appDir());
    Language::apply(QStringLiteral("de"));
    QtCatalogTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));

    QCOMPARE(translator.translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
    QVERIFY(translator.translate("QPlatformTheme", "no such button").isNull());
    QVERIFY(translator.translate("NoSuchContext", "&Yes").isNull());

    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    // The file dialog's type column names a folder through the toolkit's icon provider.
    QCOMPARE(QFileIconProvider().type(QFileInfo(appDir())), QStringLiteral("Ordner"));
    QCOMPARE(i18n("Information"), QStringLiteral("Information"));
    QCOMPARE(i18n("Error"), QStringLiteral("Fehler"));

    QCoreApplication::removeTranslator(&translator);
    Language::apply(QString());
    QCOMPARE(i18n("Error"), QStringLiteral("Error"));
}

void TestTranslation::unknownLanguageFallsBackToEnglish() {
    Gettext::bindDomains(appDir());
    Language::apply(QStringLiteral("xx_YY"));
    QCOMPARE(i18n("Error"), QStringLiteral("Error"));
    QVERIFY(Gettext::qtText("QPlatformTheme", "&Yes").isNull());
    Language::apply(QString());
}

// gettext opens its catalogues itself: a pipe in a catalogue's place would stop the program for
// good. The catalogues are read through the reader and gettext is given private copies; one the
// reader refuses is reported, and the program stays in English.
void TestTranslation::cataloguesAreReadThroughTheReader_data() {
    QTest::addColumn<QString>("kind");    // what stands in place of locale/de/LC_MESSAGES/quorvel.mo
    QTest::addColumn<QString>("message"); // %1: its path; empty when it is taken
    QTest::addColumn<QString>("error");   // i18n("Error") afterwards
    QTest::newRow("catalogue") << "copy" << QString() << "Fehler";
    QTest::newRow("named pipe") << "pipe"
                                << "Cannot open file \"%1\". It is not a regular file."
                                << "Error";
    QTest::newRow("over the limit") << "huge"
                                    << "The file \"%1\" is too large: 8388609 bytes (at most 8388608 bytes)."
                                    << "Error";
}

void TestTranslation::cataloguesAreReadThroughTheReader() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(QString, error);
    QTemporaryDir program;
    QTemporaryDir copies;
    const QDir folder(program.filePath(QStringLiteral("locale/de/LC_MESSAGES")));
    QVERIFY(QDir().mkpath(folder.path()));
    const QString real = appDir() + QStringLiteral("/locale/de/LC_MESSAGES/");
    QVERIFY(QFile::copy(real + QStringLiteral("quorvel-qt.mo"),
                        folder.filePath(QStringLiteral("quorvel-qt.mo"))));
    QString path = folder.filePath(QStringLiteral("quorvel.mo"));
    if (kind == QStringLiteral("copy"))
        QVERIFY(QFile::copy(real + QStringLiteral("quorvel.mo"), path));
    else if (kind == QStringLiteral("pipe"))
        path = UnusualFiles::fifo(folder, QStringLiteral("quorvel.mo"));
    else
        path = UnusualFiles::sparse(folder, QStringLiteral("quorvel.mo"), Gettext::MaxCatalogueSize + 1);
    QString refused;
    QString language = QStringLiteral("de_DE");
    try {
        Gettext::bindPrivateCopies(program.path(), language, copies.path());
    } catch (const EInOutError& e) {
        refused = e.message();
        language.clear();
    }
    Language::apply(language);
    QCOMPARE(refused, message.isEmpty() ? QString() : message.arg(path));
    QCOMPARE(i18n("Error"), error);
    Language::apply(QString());
    Gettext::bindDomains(appDir());
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
