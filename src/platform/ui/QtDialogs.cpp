#include "platform/ui/QtDialogs.h"

#include "platform/Translation.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget* parentWindow() { return QApplication::activeWindow(); }

// The captions of the message kinds, as the user sees them in the window title.
void show(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parentWindow());
    box.exec();
}

} // namespace

void QtDialogs::information(const QString& text) { show(QMessageBox::Information, i18n("Information"), text); }
void QtDialogs::warning(const QString& text) { show(QMessageBox::Warning, i18n("Warning"), text); }
void QtDialogs::error(const QString& text) { show(QMessageBox::Critical, i18n("Error"), text); }

bool QtDialogs::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, i18n("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
                    parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::messageBox(const QString& text, const QString& caption) {
    show(QMessageBox::NoIcon, caption.isEmpty() ? QApplication::applicationDisplayName() : caption, text);
}

QString QtDialogs::inputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), caption, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : defaultText;
}

std::optional<int> QtDialogs::inputNumber(const QString& caption, const QString& prompt, int value, int minimum,
                                          int maximum) {
    bool ok = false;
    const int number = QInputDialog::getInt(parentWindow(), caption, prompt, value, minimum, maximum, 1, &ok);
    if (!ok)
        return std::nullopt;
    return number;
}
