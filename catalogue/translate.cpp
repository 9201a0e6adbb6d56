#include "catalogue/translate.h"

namespace tracklore {

namespace {

const char* identity(const char*, const char* text) { return text; }

Translator g_translator = identity;

}  // namespace

void DB_SetTranslator(Translator translator) {
  g_translator = translator != nullptr ? translator : identity;
}

const char* DB_Tr(const char* context, const char* text) { return g_translator(context, text); }

}  // namespace tracklore
