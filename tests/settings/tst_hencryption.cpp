#include "settings/HEncryption.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
const QString PassPhrase = QStringLiteral("brackenfold");
}

class TestHEncryption : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void knownCipherTexts_data();
    void knownCipherTexts();
    void cipherTextShape();
    void cbcUsesFreshIv();
    void badCipherTexts_data();
    void badCipherTexts();
    void modeIsSetByEveryCall();
};

void TestHEncryption::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("useEcb");
    const QStringList texts = {QString(),
                               "a",
                               "1234567",
                               "12345678",
                               "123456789",
                               QString(16, u'x'),
                               QString::fromUtf8("Jérôme zahlt 5 € – wörtlich"),
                               QString::fromLatin1("a\0b\0", 4)};
    for (const QString& text : texts) {
        const QByteArray name = QByteArray::number(text.size()) + " chars";
        QTest::newRow(("ECB " + name).constData()) << text << true;
        QTest::newRow(("CBC " + name).constData()) << text << false;
    }
}

void TestHEncryption::roundTrip() {
    QFETCH(QString, text);
    QFETCH(bool, useEcb);
    HEncryption cipher;
    cipher.SetKey(PassPhrase);
    const QString encrypted = cipher.EncryptString(text, useEcb);
    QCOMPARE(cipher.DecryptString(encrypted, useEcb), text);
    HEncryption other;
    other.SetKey(PassPhrase);
    QCOMPARE(other.DecryptString(encrypted, useEcb), text);
}

// Cipher texts made with an independent Blowfish implementation from the MD5 key of the pass
// phrase and the block format.
void TestHEncryption::knownCipherTexts_data() {
    QTest::addColumn<QString>("cipherText");
    QTest::addColumn<bool>("useEcb");
    QTest::addColumn<QString>("text");
    QTest::newRow("ECB, 7 characters") << "3r7w6AIysgAvXWYFXf5pFQ==" << true << "Quorvel";
    QTest::newRow("ECB, whole block") << "PMEIV7EnSlxfV5+OOME/jQ==" << true << "12345678";
    QTest::newRow("CBC with IV 0..7") << "ZQgmy+ZM2U7SE8K+F8aYyNecM+BbjxWl" << false << "abc";
}

void TestHEncryption::knownCipherTexts() {
    QFETCH(QString, cipherText);
    QFETCH(bool, useEcb);
    QFETCH(QString, text);
    HEncryption cipher;
    cipher.SetKey(PassPhrase);
    QCOMPARE(cipher.DecryptString(cipherText, useEcb), text);
    if (useEcb) QCOMPARE(cipher.EncryptString(text, true), cipherText);
}

void TestHEncryption::cipherTextShape() {
    HEncryption cipher;
    cipher.SetKey(PassPhrase);
    const QRegularExpression base64("^[A-Za-z0-9+/]*={0,2}$");
    for (int length = 0; length < 40; ++length) {
        const QString text(length, u'q');
        const int blocks = (length + 7) / 8 + 1;
        const QString ecb = cipher.EncryptString(text, true);
        const QString cbc = cipher.EncryptString(text, false);
        QVERIFY2(base64.match(ecb).hasMatch(), qPrintable(ecb));
        QVERIFY2(base64.match(cbc).hasMatch(), qPrintable(cbc));
        QCOMPARE(QByteArray::fromBase64(ecb.toLatin1()).size(), blocks * 8);
        QCOMPARE(QByteArray::fromBase64(cbc.toLatin1()).size(), (blocks + 1) * 8);
    }
}

void TestHEncryption::cbcUsesFreshIv() {
    HEncryption cipher;
    cipher.SetKey(PassPhrase);
    const QString first = cipher.EncryptString("same text", false);
    const QString second = cipher.EncryptString("same text", false);
    QVERIFY(first != second);
    QCOMPARE(cipher.DecryptString(first, false), QString("same text"));
    QCOMPARE(cipher.DecryptString(second, false), QString("same text"));
    // ECB has no IV: equal texts give equal cipher texts.
    QCOMPARE(cipher.EncryptString("same text", true), cipher.EncryptString("same text", true));
}

void TestHEncryption::badCipherTexts_data() {
    QTest::addColumn<QString>("cipherText");
    QTest::addColumn<bool>("useEcb");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty") << "" << true << PassPhrase;
    QTest::newRow("not Base64") << "3r7w6AIysgAv*WYFXf5pFQ==" << true << PassPhrase;
    QTest::newRow("not Latin-1") << QString::fromUtf8("3r7w6AIysgAvXWYFXf5p€Q==") << true << PassPhrase;
    QTest::newRow("not whole blocks") << "3r7w6AIysgAvXWYFXf5p" << true << PassPhrase;
    QTest::newRow("length byte 9") << "5ldbuZeGyPPNTDmEPHCPtQ==" << true << PassPhrase;
    QTest::newRow("CBC shorter than IV and one block") << "ZQgmy+ZM2U4=" << false << PassPhrase;
    QTest::newRow("wrong key") << "3r7w6AIysgAvXWYFXf5pFQ==" << true << "bracken";
    QTest::newRow("ECB text read as CBC") << "3r7w6AIysgAvXWYFXf5pFQ==" << false << PassPhrase;
    QTest::newRow("CBC text read as ECB") << "ZQgmy+ZM2U7SE8K+F8aYyNecM+BbjxWl" << true << PassPhrase;
}

void TestHEncryption::badCipherTexts() {
    QFETCH(QString, cipherText);
    QFETCH(bool, useEcb);
    QFETCH(QString, key);
    HEncryption cipher;
    cipher.SetKey(key);
    QString result = "untouched";
    try {
        result = cipher.DecryptString(cipherText, useEcb);
    } catch (...) {
        QFAIL("DecryptString raised");
    }
    QCOMPARE(result, QString());
}

void TestHEncryption::modeIsSetByEveryCall() {
    HEncryption cipher;
    QCOMPARE(cipher.CipherMode(), HEncryption::cmCBC);
    cipher.SetKey(PassPhrase);
    QCOMPARE(cipher.DecryptString("ZQgmy+ZM2U7SE8K+F8aYyNecM+BbjxWl", false), QString("abc"));
    QCOMPARE(cipher.CipherMode(), HEncryption::cmCBC);
    QCOMPARE(cipher.DecryptString("3r7w6AIysgAvXWYFXf5pFQ==", true), QString("Quorvel"));
    QCOMPARE(cipher.CipherMode(), HEncryption::cmECB);
    QCOMPARE(cipher.DecryptString("ZQgmy+ZM2U7SE8K+F8aYyNecM+BbjxWl", false), QString("abc"));
    const QString cbc = cipher.EncryptString("x", false);
    QCOMPARE(cipher.CipherMode(), HEncryption::cmCBC);
    cipher.EncryptString("x", true);
    QCOMPARE(cipher.DecryptString(cbc, false), QString("x"));
}

QTEST_GUILESS_MAIN(TestHEncryption)
#include "tst_hencryption.moc"
