// The move to tray mode as the menus, pop-ups and toolbar call it.
#pragma once

#include "store/pw.h"

#include <QString>

#include <cstdint>

namespace qvs {

void GotoSysTray();

} // namespace qvs
