#include "drills/ui/TOpenDialog.h"

#include "drills/ui/FolderAwareFileDialog.h"

#include "platform/Translation.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {
TOpenDialog::Chooser& currentChooser() {
    static TOpenDialog::Chooser chooser;
    return chooser;
}

std::optional<QString> askWithFileDialog(QWidget* parent, const TOpenDialog& dialog) {
    FolderAwareFileDialog fileDialog(parent, i18n("Open"), dialog.InitialDir,
                                     TOpenDialog::qtFilter(dialog.Filter));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFilterSuffix(dialog.DefaultExt);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return std::nullopt;
    return fileDialog.selectedFiles().constFirst();
}
} // namespace

QString TOpenDialog::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // "*.*" means every file, also one without an extension, which Qt's "*.*" would miss.
        for (QString& pattern : patterns)
            if (pattern.trimmed() == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        entries << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

TOpenDialog::Chooser TOpenDialog::setChooser(Chooser chooser) {
    Chooser previous = std::move(currentChooser());
    currentChooser() = std::move(chooser);
    return previous;
}

bool TOpenDialog::Execute(QWidget* parent) {
    const Chooser& chooser = currentChooser();
    const std::optional<QString> picked = chooser ? chooser(parent, *this) : askWithFileDialog(parent, *this);
    if (!picked || picked->isEmpty()) return false;
    FileName = *picked;
    return true;
}
