#pragma once

#include "LayoutDescription.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

// The members of "layout.zqt" built from a description.
struct LayoutArchiveMembers {
    QByteArray keyTable;  // "key.cds"
    QByteArray charTable; // "char.cds"
    QByteArray readme;    // "readme"
};

// A colour as the layout values hold it: 0x00BBGGRR.
int windowsColor(const QColor& color);

// The readme: bkcolor, Author, misc and the thirty finger values, one name=value line each.
QByteArray buildReadme(const LayoutDescription& layout);

// Builds all three members; the key pictures are drawn, so a QGuiApplication must exist.
LayoutArchiveMembers buildLayoutArchive(const LayoutDescription& layout);

class ArchiveWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the zip archive through a temporary file that replaces the target only when complete.
void writeLayoutArchive(const QString& path, const LayoutArchiveMembers& members);
