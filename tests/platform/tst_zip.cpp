#include "platform/Errors.h"
#include "platform/ZipReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <zip.h>

namespace {

// Writes a zip archive with libzip; members are deflated unless stored is set.
void writeZip(const QString& path, const std::map<QByteArray, QByteArray>& members, bool stored = false) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    for (const auto& [name, data] : members) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8);
        QVERIFY(index >= 0);
        QCOMPARE(
            zip_set_file_compression(archive, zip_uint64_t(index), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0),
            0);
    }
    QCOMPARE(zip_close(archive), 0);
}

} // namespace

class TestZip : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_big;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < 20000; ++i)
            m_big += QByteArray::number(i * 7919 % 1000) + ' ';
        writeZip(path("layout.zqt"),
                 {{"key.cds", m_big}, {"readme", "bkcolor=1\r\n"}, {"Sub/readme", "inner"}, {"empty", ""}});
    }

    void extractsMembersByExactName_data() {
        QTest::addColumn<QByteArray>("member");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("deflated member") << QByteArray("key.cds") << m_big;
        QTest::newRow("small member") << QByteArray("readme") << QByteArray("bkcolor=1\r\n");
        QTest::newRow("member in a folder") << QByteArray("Sub/readme") << QByteArray("inner");
        QTest::newRow("empty member") << QByteArray("empty") << QByteArray();
        QTest::newRow("missing member") << QByteArray("char.cds") << QByteArray();
        QTest::newRow("other letter case") << QByteArray("README") << QByteArray();
        QTest::newRow("name without its folder") << QByteArray("inner") << QByteArray();
        QTest::newRow("empty name") << QByteArray() << QByteArray();
    }
    void extractsMembersByExactName() {
        QFETCH(QByteArray, member);
        QFETCH(QByteArray, expected);
        ZipReader zip;
        zip.open(path("layout.zqt"));
        QVERIFY(zip.isOpen());
        QCOMPARE(zip.extract(member), expected);
    }

    void readsStoredMembersWhateverTheExtension() {
        writeZip(path("plain.anything"), {{"a", "stored bytes"}}, true);
        ZipReader zip;
        zip.open(path("plain.anything"));
        QCOMPARE(zip.extract("a"), QByteArray("stored bytes"));
    }

    void refusesWhatIsNoArchive_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // written first unless the file is to be missing
        QTest::newRow("missing file") << "missing.zqt" << QByteArray();
        QTest::newRow("text file") << "text.zqt" << QByteArray("bkcolor=255\n");
        QTest::newRow("truncated archive") << "cut.zqt" << QByteArray("PK\x03\x04\x14\x00", 6);
        QTest::newRow("folder") << "" << QByteArray();
    }
    void refusesWhatIsNoArchive() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        if (!content.isEmpty()) {
            QFile f(path(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        ZipReader zip;
        zip.open(path("layout.zqt"));
        QVERIFY_THROWS_EXCEPTION(EInOutError, zip.open(file.isEmpty() ? m_dir.path() : path(file)));
        QVERIFY(!zip.isOpen()); // the earlier archive was closed first
        QVERIFY_THROWS_EXCEPTION(EInOutError, zip.extract("readme"));
    }

    void damagedMemberDataRaises() {
        const QByteArray text(5000, 'q');
        writeZip(path("damaged.zqt"), {{"readme", text}}, true);
        QFile f(path("damaged.zqt"));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const qsizetype at = bytes.indexOf(text.left(100));
        QVERIFY(at > 0);
        bytes[at + 10] = 'x'; // the checksum no longer matches
        f.seek(0);
        f.write(bytes);
        f.close();
        ZipReader zip;
        zip.open(path("damaged.zqt"));
        QVERIFY_THROWS_EXCEPTION(EInOutError, zip.extract("readme"));
    }

    void closeAndReopen() {
        writeZip(path("second.zip"), {{"readme", "second"}});
        ZipReader zip;
        zip.open(path("layout.zqt"));
        zip.open(path("second.zip"));
        QCOMPARE(zip.extract("readme"), QByteArray("second"));
        zip.close();
        zip.close();
        QVERIFY(!zip.isOpen());
        QVERIFY_THROWS_EXCEPTION(EInOutError, zip.extract("readme"));
    }
};

QTEST_GUILESS_MAIN(TestZip)
#include "tst_zip.moc"
