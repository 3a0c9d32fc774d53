// The setup dialog `Master` (template 113): one check box, "Use window
// Multiplier". Host's thread, modal.
#pragma once

// Shows the box as `checked` says; on OK `checked` takes the box's state and
// the result is IDOK. Escape or the close box give IDCANCEL and leave
// `checked` alone; -1 when the window cannot be made.
int RunMasterDialog(int& checked);
