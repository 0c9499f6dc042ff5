// Compiled as part of format 2: it must not find the legacy format.
#include "store/legacy/legacy_file.h"
