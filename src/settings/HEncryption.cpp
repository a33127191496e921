#include "settings/HEncryption.h"

#include "platform/CodePage.h"

#include <QRandomGenerator>
#include <nettle/blowfish.h>
#include <nettle/cbc.h>
#include <nettle/md5.h>

struct HEncryption::TLbBlowfish {
    blowfish_ctx ctx;
};

namespace {

constexpr qsizetype Block = BLOWFISH_BLOCK_SIZE;

uint8_t* bytesOf(QByteArray& data) {
    return reinterpret_cast<uint8_t*>(data.data());
}
const uint8_t* bytesOf(const QByteArray& data) {
    return reinterpret_cast<const uint8_t*>(data.constData());
}

void encryptBlocks(const blowfish_ctx& ctx, QByteArray& data) {
    blowfish_encrypt(&ctx, size_t(data.size()), bytesOf(data), bytesOf(data));
}

void decryptBlocks(const blowfish_ctx& ctx, QByteArray& data) {
    blowfish_decrypt(&ctx, size_t(data.size()), bytesOf(data), bytesOf(data));
}

bool allZero(const QByteArray& data, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i) {
        if (data[i] != 0) return false;
    }
    return true;
}

} // namespace

HEncryption::HEncryption() : Cipher(std::make_unique<TLbBlowfish>()) {
    SetKey(QString());
}

HEncryption::~HEncryption() = default;

void HEncryption::SetKey(const QString& PassPhrase) {
    const QByteArray phrase = CodePage::fromUnicode(PassPhrase);
    md5_ctx md5;
    md5_init(&md5);
    md5_update(&md5, size_t(phrase.size()), bytesOf(phrase));
    uint8_t key[MD5_DIGEST_SIZE];
    md5_digest(&md5, MD5_DIGEST_SIZE, key);
    // A weak key is still a working key; nettle only reports it.
    blowfish128_set_key(&Cipher->ctx, key);
}

QString HEncryption::EncryptString(const QString& S, bool UseECB) {
    m_mode = UseECB ? cmECB : cmCBC;
    QByteArray data = CodePage::fromUnicode(S);
    const qsizetype length = data.size();
    const qsizetype padded = (length + Block - 1) / Block * Block;
    data.append(padded - length + Block, '\0');
    data[data.size() - 1] = char(length % Block);

    if (m_mode == cmECB) {
        encryptBlocks(Cipher->ctx, data);
        return QString::fromLatin1(data.toBase64());
    }
    QByteArray iv(Block, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(iv.data()), Block / sizeof(quint32));
    QByteArray chain = iv;
    cbc_encrypt(&Cipher->ctx, reinterpret_cast<nettle_cipher_func*>(blowfish_encrypt), size_t(Block),
                bytesOf(chain), size_t(data.size()), bytesOf(data), bytesOf(data));
    encryptBlocks(Cipher->ctx, iv);
    return QString::fromLatin1((iv + data).toBase64());
}

QByteArray HEncryption::decipher(const QString& base64) const {
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return QByteArray();
    QByteArray data = *decoded;
    if (data.isEmpty() || data.size() % Block != 0) return QByteArray();
    if (m_mode == cmCBC) {
        if (data.size() < 2 * Block) return QByteArray();
        QByteArray iv = data.left(Block);
        decryptBlocks(Cipher->ctx, iv);
        data.remove(0, Block);
        cbc_decrypt(&Cipher->ctx, reinterpret_cast<nettle_cipher_func*>(blowfish_decrypt), size_t(Block),
                    bytesOf(iv), size_t(data.size()), bytesOf(data), bytesOf(data));
    } else {
        decryptBlocks(Cipher->ctx, data);
    }
    // The closing block: zeros, then the length mod 8. Anything else is a wrong key or junk.
    const qsizetype textBlocks = data.size() - Block;
    const int rest = uchar(data[data.size() - 1]);
    if (rest >= Block || !allZero(data, textBlocks, data.size() - 1)) return QByteArray();
    qsizetype length = textBlocks;
    if (rest != 0) {
        if (textBlocks == 0) return QByteArray();
        length = textBlocks - Block + rest;
        if (!allZero(data, length, textBlocks)) return QByteArray();
    }
    data.truncate(length);
    return data;
}

QString HEncryption::DecryptString(const QString& S, bool UseECB) {
    m_mode = UseECB ? cmECB : cmCBC;
    try {
        return CodePage::toUnicode(decipher(S));
    } catch (...) {
        return QString();
    }
}
