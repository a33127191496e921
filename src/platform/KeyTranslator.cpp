#include "platform/KeyTranslator.h"

namespace {
KeyTranslator* g_translator = nullptr;
}

KeyTranslator* activeKeyTranslator() { return g_translator; }
void setActiveKeyTranslator(KeyTranslator* translator) { g_translator = translator; }
