#include "drills/ui/FolderAwareFileDialog.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

// The text drill's open dialog, driven through its name box as a person types into it.
class TestFolderFileDialog : public QObject {
    Q_OBJECT

private slots:
    void typedFolderOpensIt_data();
    void typedFolderOpensIt();
    void typedFileIsAccepted_data();
    void typedFileIsAccepted();

private:
    QTemporaryDir m_dir;
    void makeTree();
};

void TestFolderFileDialog::makeTree() {
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("English")));
    QFile text(m_dir.filePath(QStringLiteral("English/lesson.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("one line\r\n");
}

void TestFolderFileDialog::typedFolderOpensIt_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("name") << QStringLiteral("English");
    QTest::newRow("trailing slash") << QStringLiteral("English/");
    QTest::newRow("blanks around") << QStringLiteral("  English/ ");
    QTest::newRow("absolute") << QStringLiteral("<abs>");
}

void TestFolderFileDialog::typedFolderOpensIt() {
    QFETCH(QString, typed);
    makeTree();
    if (typed == QStringLiteral("<abs>")) typed = m_dir.filePath(QStringLiteral("English"));
    FolderAwareFileDialog dialog(nullptr, QStringLiteral("Open"), m_dir.path(),
                                 QStringLiteral("Text (*.Txt)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.open();
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameEdit);
    nameEdit->setText(typed);
    dialog.accept();
    QVERIFY(dialog.isVisible()); // still asking, now inside the folder
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(QDir(dialog.directory()).canonicalPath(),
             QDir(m_dir.filePath(QStringLiteral("English"))).canonicalPath());
    QCOMPARE(nameEdit->text(), QString());
}

void TestFolderFileDialog::typedFileIsAccepted_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("with extension") << QStringLiteral("lesson.txt");
    QTest::newRow("default extension added") << QStringLiteral("lesson");
}

void TestFolderFileDialog::typedFileIsAccepted() {
    QFETCH(QString, typed);
    makeTree();
    FolderAwareFileDialog dialog(nullptr, QStringLiteral("Open"), m_dir.filePath(QStringLiteral("English")),
                                 QStringLiteral("Text (*.Txt)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.open();
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameEdit);
    nameEdit->setText(typed);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFiles().size(), 1);
    QCOMPARE(QFileInfo(dialog.selectedFiles().constFirst()).canonicalFilePath(),
             QFileInfo(m_dir.filePath(QStringLiteral("English/lesson.txt"))).canonicalFilePath());
}

QTEST_MAIN(TestFolderFileDialog)
#include "tst_folder_file_dialog.moc"
