// The catalogue's messages in the user's language.
//
// What the catalogue tells or asks a user is written in English. A program
// with translations installs a Translator once, at start; each message's
// format is then translated before it is formatted (so the names put into
// it stay as they are). Without one DB_Tr gives the text back unchanged,
// which keeps the command-line tools English.
//
// A message is marked where it is written so that lupdate finds it
// (scripts/translations.sh): DB_Tr("Catalogue", "text") at the call, or
// QT_TRANSLATE_NOOP("Catalogue", "text") in a table whose entries pass
// through DB_Tr later. A translation of a printf format keeps its
// conversions in order; the translations test checks that.
#pragma once

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace tracklore {

// Returns the translation of text (UTF-8), or text itself; what it returns
// must stay valid for the rest of the run.
using Translator = const char* (*)(const char* context, const char* text);

// Installs the translator for the whole run; null puts the identity back.
void DB_SetTranslator(Translator translator);

// The translation of a message's text or format under the installed
// translator.
const char* DB_Tr(const char* context, const char* text);

}  // namespace tracklore
