#include "shell/CourseFolders.h"
#include "shell/PracticeTime.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

class TestPracticeTime : public QObject {
    Q_OBJECT

private slots:
    void splitsIntoWholeHoursMinutesSeconds_data();
    void splitsIntoWholeHoursMinutesSeconds();
    void summaryNamesUserRunAndTotal();
    void addingNeverWraps_data();
    void addingNeverWraps();
    void coursePathsKeepTheCourseAsGiven_data();
    void coursePathsKeepTheCourseAsGiven();
    void listsCourseFoldersOnly();
    void missingCoursesFolderGivesNoCourses();
};

void TestPracticeTime::splitsIntoWholeHoursMinutesSeconds_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("s");
    QTest::newRow("nothing") << 0 << 0 << 0 << 0;
    QTest::newRow("999 ms is no second") << 999 << 0 << 0 << 0;
    QTest::newRow("one second") << 1000 << 0 << 0 << 1;
    QTest::newRow("59.999 s") << 59999 << 0 << 0 << 59;
    QTest::newRow("one hour") << 3600000 << 1 << 0 << 0;
    QTest::newRow("a day and more is not bounded") << 90061000 << 25 << 1 << 1;
    QTest::newRow("largest count") << std::numeric_limits<int>::max() << 596 << 31 << 23;
}

void TestPracticeTime::splitsIntoWholeHoursMinutesSeconds() {
    QFETCH(int, ms);
    QFETCH(int, h);
    QFETCH(int, m);
    QFETCH(int, s);
    const PracticeDuration d = splitPracticeTime(ms);
    QCOMPARE(d.hours, h);
    QCOMPARE(d.minutes, m);
    QCOMPARE(d.seconds, s);
}

void TestPracticeTime::summaryNamesUserRunAndTotal() {
    QCOMPARE(
        practiceTimeSummary("Default", 0, 0),
        QStringLiteral("Default: The practice time is 0 h 0 m 0 s, total practice time is 0 h 0 m 0 s."));
    QCOMPARE(
        practiceTimeSummary(QString::fromUtf8("Jürgen"), 61999, 90061000),
        QString::fromUtf8("Jürgen: The practice time is 0 h 1 m 1 s, total practice time is 25 h 1 m 1 s."));
}

void TestPracticeTime::addingNeverWraps_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("run");
    QTest::addColumn<int>("expected");
    const int max = std::numeric_limits<int>::max();
    QTest::newRow("ordinary") << 1000 << 2500 << 3500;
    QTest::newRow("nothing practised") << 77 << 0 << 77;
    QTest::newRow("at the top") << max - 10 << 10 << max;
    QTest::newRow("beyond the top stays there") << max - 10 << 11 << max;
    QTest::newRow("both large") << max << max << max;
}

void TestPracticeTime::addingNeverWraps() {
    QFETCH(int, total);
    QFETCH(int, run);
    QFETCH(int, expected);
    QCOMPARE(addPracticeTime(total, run), expected);
}

void TestPracticeTime::coursePathsKeepTheCourseAsGiven_data() {
    QTest::addColumn<QString>("appDir");
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("expected");
    QTest::newRow("course") << "/opt/q/"
                            << "English"
                            << "/opt/q/Courses/English/course.txt";
    QTest::newRow("no trailing separator") << "/opt/q"
                                           << "English"
                                           << "/opt/q/Courses/English/course.txt";
    QTest::newRow("empty course") << "/opt/q/"
                                  << ""
                                  << "/opt/q/Courses//course.txt";
}

void TestPracticeTime::coursePathsKeepTheCourseAsGiven() {
    QFETCH(QString, appDir);
    QFETCH(QString, course);
    QFETCH(QString, expected);
    QCOMPARE(coursePath(appDir, course, "course.txt"), expected);
}

void TestPracticeTime::listsCourseFoldersOnly() {
    QTemporaryDir app;
    QDir dir(app.path());
    QVERIFY(dir.mkpath("Courses/German"));
    QVERIFY(dir.mkpath("Courses/English/sub"));
    QVERIFY(dir.mkpath("Courses/dutch"));
    QFile stray(dir.filePath("Courses/readme.txt"));
    QVERIFY(stray.open(QIODevice::WriteOnly));
    QCOMPARE(courseFolderNames(app.path() + '/'), (QStringList{"dutch", "English", "German"}));
}

void TestPracticeTime::missingCoursesFolderGivesNoCourses() {
    QTemporaryDir app;
    QVERIFY(courseFolderNames(app.path()).isEmpty());
    QDir(app.path()).mkdir("Courses");
    QVERIFY(courseFolderNames(app.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestPracticeTime)
#include "tst_practice_time.moc"
