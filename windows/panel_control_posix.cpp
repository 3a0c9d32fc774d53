// No window system here: no panel ever runs.
#include "windows/panel_control.h"

IPanelControl& PlatformPanel(IPanelModule&) { return NoPanelControl(); }
