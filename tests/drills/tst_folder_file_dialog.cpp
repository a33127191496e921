#include "drills/ui/FolderAwareFileDialog.h"
#include "drills/ui/TOpenDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {
// Runs `answer` on the open-file dialog once it is shown modally.
void whenFileDialogShows(std::function<void(QFileDialog*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start();
}

// The names the dialog's list shows in its current folder.
QStringList listed(QFileDialog* dialog) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view || !view->model()) return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    return names;
}
} // namespace

// The text drill's open dialog, driven through its name box as a person types into it.
class TestFolderFileDialog : public QObject {
    Q_OBJECT

private slots:
    void typedFolderOpensIt_data();
    void typedFolderOpensIt();
    void typedFileIsAccepted_data();
    void typedFileIsAccepted();
    void extensionFollowsTheChosenFilter_data();
    void extensionFollowsTheChosenFilter();

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

void TestFolderFileDialog::extensionFollowsTheChosenFilter_data() {
    QTest::addColumn<bool>("all");       // the user picks "All" in the filter box
    QTest::addColumn<QString>("typed");  // then types this name
    QTest::addColumn<QString>("opened"); // and the dialog opens this file
    QTest::newRow("Text adds .txt") << false << QStringLiteral("lesson")
                                    << QStringLiteral("English/lesson.txt");
    QTest::newRow("Text keeps an extension")
        << false << QStringLiteral("notes.md") << QStringLiteral("English/notes.md");
    QTest::newRow("All opens a name without extension")
        << true << QStringLiteral("notes") << QStringLiteral("English/notes");
    QTest::newRow("All keeps .txt") << true << QStringLiteral("lesson.txt")
                                    << QStringLiteral("English/lesson.txt");
}

// The text drill's dialog, filter "Text|*.Txt|All|*.*": "All" lists and opens every file, also
// one without an extension; ".txt" is added to a name without one only under "Text".
void TestFolderFileDialog::extensionFollowsTheChosenFilter() {
    QFETCH(bool, all);
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    makeTree();
    for (const char* name : {"English/notes", "English/notes.md"}) {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    TOpenDialog open;
    open.Filter = QStringLiteral("Text|*.Txt|All|*.*");
    open.DefaultExt = QStringLiteral("txt");
    open.InitialDir = m_dir.filePath(QStringLiteral("English"));
    QStringList shown;
    bool answered = false;
    whenFileDialogShows([&](QFileDialog* dialog) {
        // Whatever fails below, the dialog closes, so that Execute returns.
        const auto close = qScopeGuard([dialog] {
            if (dialog->isVisible()) dialog->reject();
        });
        auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (all && filters) {
            // As a user picks it: the filter box takes the key and reports the choice.
            filters->setFocus();
            QTest::keyClick(filters, Qt::Key_Down);
        }
        QTRY_VERIFY(listed(dialog).contains(QStringLiteral("lesson.txt")));
        if (all) QTRY_VERIFY(listed(dialog).contains(QStringLiteral("notes")));
        shown = listed(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        answered = true;
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const bool picked = open.Execute();
    QVERIFY(answered);
    QCOMPARE(shown.contains(QStringLiteral("notes")), all);
    QVERIFY(picked);
    QCOMPARE(QFileInfo(open.FileName).canonicalFilePath(),
             QFileInfo(m_dir.filePath(opened)).canonicalFilePath());
}

QTEST_MAIN(TestFolderFileDialog)
#include "tst_folder_file_dialog.moc"
