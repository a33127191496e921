#include "drills/ui/FolderAwareFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

void FolderAwareFileDialog::setFilterSuffix(const QString& suffix) {
    m_filterSuffix = suffix;
    if (!m_following) {
        m_following = true;
        connect(this, &QFileDialog::filterSelected, this, &FolderAwareFileDialog::followFilter);
    }
    followFilter(selectedNameFilter());
}

void FolderAwareFileDialog::followFilter(const QString& nameFilter) {
    // The patterns stand between the last parentheses: "Text (*.Txt)".
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const qsizetype close = nameFilter.lastIndexOf(u')');
    const QString patterns =
        open >= 0 && close > open ? nameFilter.mid(open + 1, close - open - 1) : nameFilter;
    const QString wanted = QStringLiteral("*.") + m_filterSuffix;
    bool forSuffix = false;
    for (const QString& pattern : patterns.split(u' ', Qt::SkipEmptyParts))
        forSuffix = forSuffix || pattern.compare(wanted, Qt::CaseInsensitive) == 0;
    setDefaultSuffix(forSuffix && !m_filterSuffix.isEmpty() ? m_filterSuffix : QString());
}

void FolderAwareFileDialog::accept() {
    // The filter may have been chosen without the signal (selectNameFilter).
    if (m_following) followFilter(selectedNameFilter());
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
