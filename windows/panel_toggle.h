// The panel toggle of every reset: the settings key "Start" decides whether a
// mode switch panel is started.
#pragma once

class IPanelControl;
class Settings;

// Non-zero "Start": write "0", start nothing. Zero and no panel: start one and
// write "1". Zero with a panel running: nothing.
void PanelToggle(const Settings& settings, IPanelControl& panel);
