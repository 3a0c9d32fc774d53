// The header form as a real dialog (template 101) bound to the form's model:
// list items filled in their order, then every value exchanged in the model's
// order. Host's thread, modal.
#pragma once

class Cabrillo;

// IDOK after the model took the shown texts back, IDCANCEL when closed any
// other way (members as loaded), -1 when the window cannot be made.
int RunCabrilloDialog(Cabrillo& form);
