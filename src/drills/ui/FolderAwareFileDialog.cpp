#include "drills/ui/FolderAwareFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

void FolderAwareFileDialog::accept() {
    const QString folder = typedFolder();
    if (folder.isEmpty()) {
        QFileDialog::accept();
        return;
    }
    setDirectory(folder);
    if (auto* nameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) nameEdit->clear();
}

QString FolderAwareFileDialog::typedFolder() const {
    const auto* nameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!nameEdit) return {};
    const QString typed = nameEdit->text().trimmed();
    if (typed.isEmpty()) return {};
    const QString path = QDir::isAbsolutePath(typed) ? typed : directory().absoluteFilePath(typed);
    const QFileInfo info(path);
    return info.isDir() ? info.absoluteFilePath() : QString();
}
