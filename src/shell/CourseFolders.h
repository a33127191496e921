#pragma once

#include <QString>
#include <QStringList>

// The courses a profile can name: the folders inside <appDir>/Courses, names only, not
// recursive, in name order. A missing "Courses" folder gives an empty list.
QStringList courseFolderNames(const QString& appDir);

// <appDir>Courses/<course>/<fileName>. No existence check: an empty course leaves two
// separators in a row, which fails only when the file is opened.
QString coursePath(const QString& appDir, const QString& course, const QString& fileName);
