// What a modal window reports when it closes, as the window system's own
// result codes (IDOK, IDCANCEL) and its failure value, so that portable code
// can tell them apart without the system's headers.
#pragma once

inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;
inline constexpr int kDialogFailed = -1;
