#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// Enciphers and deciphers short texts with Blowfish, the cipher text written as Base64.
//
// The key is the MD5 digest of the pass phrase's code-page bytes (128 bits). A text's
// code-page bytes are zero-padded to whole 8-byte blocks and followed by one block whose last
// byte holds the text's length mod 8 (its other bytes zero). In CBC mode a random IV block,
// itself enciphered, comes first. Base64 is the standard alphabet with "=" padding and no line
// breaks.
class HEncryption {
public:
    enum TLbCipherMode { cmECB, cmCBC };

    HEncryption(); // CBC, keyed with the empty pass phrase until SetKey
    ~HEncryption();
    HEncryption(const HEncryption&) = delete;
    HEncryption& operator=(const HEncryption&) = delete;

    void SetKey(const QString& PassPhrase);
    // The plain text, or an empty text when S is not a cipher text of this format and key.
    // Never raises.
    QString DecryptString(const QString& S, bool UseECB);
    QString EncryptString(const QString& S, bool UseECB);

    TLbCipherMode CipherMode() const { return m_mode; }

private:
    struct TLbBlowfish;
    QByteArray decipher(const QString& base64) const;

    std::unique_ptr<TLbBlowfish> Cipher;
    TLbCipherMode m_mode = cmCBC;
};
