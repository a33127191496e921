#pragma once

#include <QString>

// Where tests find the sources (bundled data) and the assembled program folder.
inline QString sourceDir() { return QStringLiteral(QUORVEL_SOURCE_DIR); }
inline QString appDir() { return QStringLiteral(QUORVEL_APP_DIR); }
