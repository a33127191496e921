#include "game/ui/THInputBox.h"

#include "platform/CodePage.h"
#include "platform/Translation.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

THInputBox::THInputBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HInputBox"));
    LbHint = new QLabel(this);
    LbHint->setObjectName(QStringLiteral("LbHint"));
    LbHint->setMinimumSize(285, 19);
    QFont hintFont(QStringLiteral("Times New Roman"));
    hintFont.setPixelSize(15);
    LbHint->setFont(hintFont);
    Edit = new QLineEdit(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setAlignment(Qt::AlignRight);
    // Right-aligned digits would touch the frame: keep them an average character from it.
    const int margin = Edit->fontMetrics().averageCharWidth() / 2 + 2;
    Edit->setTextMargins(margin, 0, margin, 0);
    Edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit));
    BnOK = new QPushButton(i18n("&OK"), this);
    BnOK->setObjectName(QStringLiteral("BnOK"));
    BnOK->setDefault(true);
    BnCancel = new QPushButton(i18n("&Cancel"), this);
    BnCancel->setObjectName(QStringLiteral("BnCancel"));
    BnCancel->hide();
    connect(BnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BnOK);
    buttons->addWidget(BnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbHint);
    layout->addWidget(Edit);
    layout->addLayout(buttons);
    Edit->setFocus();
}

bool THInputBox::Execute(const QString& Caption, const QString& Prompt, QString& Value) {
    LbHint->setText(Prompt);
    setWindowTitle(Caption);
    // The entry is 8-bit text, as every entry of the program; digits pass unchanged.
    Edit->setText(CodePage::toUnicode(CodePage::fromUnicode(Value)));
    Edit->selectAll();
    Edit->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    Value = Edit->text();
    return confirmed;
}

bool ExecuteHInputBox(const QString& Caption, const QString& Prompt, QString& Value, QWidget* owner) {
    if (dynamic_cast<QtDialogs*>(&dialogs())) {
        THInputBox box(owner ? owner : QApplication::activeWindow());
        return box.Execute(Caption, Prompt, Value);
    }
    Value = dialogs().inputBox(Caption, Prompt, Value);
    return true;
}
