// The tray menu where no window of ours is shown. On Wayland a menu pops up
// only over a window of the program's own; with none (the program lives in
// the tray) it becomes a window by itself, which a tiling desktop such as
// sway stretched over the whole screen under a title bar.
#pragma once

class QMenu;

namespace qvs {

// Before each showing of the tray's menu: where it will stand alone, it
// keeps the size it needs and no frame (a tiling desktop then floats it like
// a dialog); elsewhere it is left a plain pop-up. Whether it stands alone.
bool PrepareTrayMenu(QMenu& menu);

} // namespace qvs
