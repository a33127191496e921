#pragma once

#include <QTranslator>

// Answers the texts Qt itself shows (standard buttons under the context "QPlatformTheme",
// the line edit's menu, the file and font dialogs) from the program's second gettext domain.
class QtCatalogTranslator final : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
