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
    fileDialog.setDefaultSuffix(dialog.DefaultExt);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return std::nullopt;
    return fileDialog.selectedFiles().constFirst();
}
} // namespace

QString TOpenDialog::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        entries << parts[i] + QStringLiteral(" (") + patterns + u')';
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
