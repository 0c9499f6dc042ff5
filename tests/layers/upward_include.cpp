// Compiled as part of the frame layer: it must not find the main window.
#include "mainwin/frm_main.h"
