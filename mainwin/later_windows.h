// Commands whose windows come later. Each has the one entry point the menus,
// pop-ups and toolbar call; until its window exists it says so (text 30100).
#pragma once

#include "store/pw.h"

#include <QString>

#include <cstdint>

namespace qvs {

void SaveLayoutNow();
void GotoSysTray();

} // namespace qvs
