// The product's registry entries: the editor's application path, the entry
// in the list of installed programs, and, when the user agrees, the text
// file class pointed at the editor for a list of extensions.
#pragma once

#include "app/install_context.h"

// FALSE when memory ran out (reported; the run ends). Registry writes that
// fail are passed over.
BOOL WriteRegistryEntries(InstallContext& context);

// Writes the default value "txtfile" under HKEY_CLASSES_ROOT for every
// blank-separated word of `list` (modified in place), one key ".word" each.
void RegisterExtensions(char* list);
