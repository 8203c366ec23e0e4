// The program's resources in the user's language. The dialogs, menus and strings
// exist once per language in the resource script; Windows on its own would pick
// by the thread's language and its fallbacks, so the language chosen at start is
// asked for by name, falling back to whatever exists.
#pragma once

#include <windows.h>

#include <string>

namespace tarnwick {

void UseResourceLanguage(LANGID language);

// The dialog template with this number, or null.
const DLGTEMPLATE* DialogTemplate(unsigned id);
// A menu loaded from the menu resource with this number, or null; the caller destroys it.
HMENU LoadMenuResource(unsigned id);
// The string with this number; empty when there is none.
std::wstring LoadResourceString(unsigned id);
// The icon with this number at this size in pixels, or null; the caller destroys it.
HICON LoadIconSized(unsigned id, int size);

}  // namespace tarnwick
