// Compiled as part of the legacy format: it must not find format 2.
#include "store/format2/format2.h"
