#include "shell/CourseFolders.h"

#include <QDir>

QStringList courseFolderNames(const QString& appDir) {
    const QDir courses(QDir(appDir).filePath(QStringLiteral("Courses")));
    if (!courses.exists()) return {};
    return courses.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString coursePath(const QString& appDir, const QString& course, const QString& fileName) {
    QString base = appDir;
    if (!base.endsWith(u'/')) base += u'/';
    return base + QStringLiteral("Courses/") + course + u'/' + fileName;
}
