#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// A small prompt for a whole number: the entry takes digits only and is right-aligned.
class THInputBox : public QDialog {
    Q_OBJECT
public:
    explicit THInputBox(QWidget* parent = nullptr);

    // Shows the box modally; Value takes the entry whether the box was confirmed or not.
    // True when it was confirmed.
    bool Execute(const QString& Caption, const QString& Prompt, QString& Value);

    QLabel* LbHint;
    QLineEdit* Edit;
    QPushButton* BnOK;
    QPushButton* BnCancel;
};

// Asks through the program's dialog service; with the Qt service in place, the box above is
// what the user sees. Value is the entry, confirmed or not. The box stands in front of owner
// (by default the active window): a window that stays on top would otherwise hide it.
bool ExecuteHInputBox(const QString& Caption, const QString& Prompt, QString& Value,
                      QWidget* owner = nullptr);
