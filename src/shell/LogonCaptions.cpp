#include "shell/LogonCaptions.h"

#include "settings/HEncryption.h"

namespace {

// Base64 cipher texts, CBC mode, under kLogonCaptionKey.
const char* const kProductName = "/Uabu59CZx1uvuvs3fXywaw4mDzL+e18";
const char* const kRightsNotice = "PV4zD9UuwT1jbPG4pQOGmJlN8DLLsyzNxHYMQvHnWF1LFoJuP637eNvxpYkEnhbj";
const char* const kWebAddress = "gHVjRBowHNyxPTz5iaNJcwly3lkhH+Hq/PhwuXKkZnY=";

} // namespace

LogonCaptions decipherLogonCaptions() {
    HEncryption cipher;
    cipher.SetKey(QString::fromLatin1(kLogonCaptionKey));
    LogonCaptions captions;
    captions.productName = cipher.DecryptString(QString::fromLatin1(kProductName), false);
    captions.rightsNotice = cipher.DecryptString(QString::fromLatin1(kRightsNotice), false);
    captions.webAddress = cipher.DecryptString(QString::fromLatin1(kWebAddress), false);
    return captions;
}
