#pragma once

#include <QString>

// The three captions of the logon window that are kept enciphered in the program: the product
// name, the rights notice and the web address (the bundled help page, which the desktop opens
// relative to the program folder).
struct LogonCaptions {
    QString productName;
    QString rightsNotice;
    QString webAddress;
};

// The pass phrase they are enciphered under.
inline constexpr const char* kLogonCaptionKey = "brackenfold";

// Deciphers the three stored captions (CBC mode). One that fails to decipher is empty.
LogonCaptions decipherLogonCaptions();
