// The due-date levels of the entry grid's colours and icons; the rule itself
// is shared with the other windows that show due dates.
#pragma once

#include "frame/due_dates.h"
