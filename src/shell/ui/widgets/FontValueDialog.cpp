#include "shell/ui/widgets/FontValueDialog.h"

#include "platform/Translation.h"
#include "shell/ui/widgets/ColorComboBox.h"
#include "shell/ui/widgets/FontExampleEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

FontValueDialog::FontValueDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(i18n("Font"));
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("FontName"));
    // Editable, so that a stored name the system lacks stays as it is.
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_name->addItems(QFontDatabase::families());
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("FontSize"));
    m_size->setRange(1, 1000);
    m_bold = new QCheckBox(i18n("Bold"), this);
    m_bold->setObjectName(QStringLiteral("FontBold"));
    m_italic = new QCheckBox(i18n("Italic"), this);
    m_italic->setObjectName(QStringLiteral("FontItalic"));
    m_underline = new QCheckBox(i18n("Underline"), this);
    m_underline->setObjectName(QStringLiteral("FontUnderline"));
    m_strikeOut = new QCheckBox(i18n("Strikeout"), this);
    m_strikeOut->setObjectName(QStringLiteral("FontStrikeOut"));
    m_color = new ColorComboBox(ColorComboBox::NamedColors | ColorComboBox::SystemColors, this);
    m_color->setObjectName(QStringLiteral("FontColor"));
    m_sample = new FontExampleEdit(this);
    m_sample->setReadOnly(true);

    auto* form = new QFormLayout;
    form->addRow(i18n("Font:"), m_name);
    form->addRow(i18n("Size:"), m_size);
    form->addRow(m_bold, m_italic);
    form->addRow(m_underline, m_strikeOut);
    form->addRow(i18n("Color:"), m_color);
    form->addRow(i18n("Sample"), m_sample);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QComboBox::editTextChanged, this, &FontValueDialog::updateSample);
    connect(m_size, &QSpinBox::valueChanged, this, &FontValueDialog::updateSample);
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_strikeOut})
        connect(box, &QCheckBox::toggled, this, &FontValueDialog::updateSample);
    connect(m_color, &QComboBox::currentIndexChanged, this, &FontValueDialog::updateSample);
}

TFontValue FontValueDialog::fontValue() const {
    TFontValue font = m_font;
    font.Name = m_name->currentText();
    font.Size = m_size->value();
    font.Bold = m_bold->isChecked();
    font.Italic = m_italic->isChecked();
    font.Underline = m_underline->isChecked();
    font.StrikeOut = m_strikeOut->isChecked();
    font.Color = m_color->colorValue();
    return font;
}

void FontValueDialog::setFontValue(const TFontValue& font) {
    m_font = font;
    m_name->setEditText(font.Name);
    m_size->setValue(font.Size);
    m_bold->setChecked(font.Bold);
    m_italic->setChecked(font.Italic);
    m_underline->setChecked(font.Underline);
    m_strikeOut->setChecked(font.StrikeOut);
    m_color->setColorValue(font.Color);
    updateSample();
}

bool FontValueDialog::Execute() {
    return exec() == QDialog::Accepted;
}

void FontValueDialog::updateSample() {
    m_sample->setFontValue(fontValue());
}
