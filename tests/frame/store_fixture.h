// Set-up that window tests share: the program's own language table, and a
// fresh store as the program's open file.
#pragma once

#include "store/pw.h"

// Loads a language table the program ships ("ENG", "ITA"); false when it
// cannot be read.
bool LoadShippedLanguage(const char* code = "ENG");

// Replaces the program's store by an empty one and returns it.
ardeko::clsPW& FreshStore();
