#include "platform/ui/QtCatalogTranslator.h"

#include "platform/Gettext.h"

QString QtCatalogTranslator::translate(const char* context, const char* sourceText,
                                       const char* disambiguation, int n) const {
    Q_UNUSED(disambiguation);
    Q_UNUSED(n);
    return Gettext::qtText(context, sourceText);
}
