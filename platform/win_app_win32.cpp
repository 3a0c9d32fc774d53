// The DLL's entry point. It does nothing but hand loading and unloading to the
// application object (and note the DLL's own instance for its dialogs): the
// loader lock is held here, so all real work stays out of it.
#include <windows.h>

#include "platform/dialog_win32.h"
#include "platform/win_app.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  try {
    switch (reason) {
      case DLL_PROCESS_ATTACH: {
        SetModuleInstance(instance);
        CWinApp* app = AfxGetApp();
        return app == nullptr || app->InitInstance() ? TRUE : FALSE;
      }
      case DLL_PROCESS_DETACH: {
        // A non-null `reserved` means the process is ending, not FreeLibrary.
        if (reserved != nullptr) {
          NoteProcessExiting();
        }
        if (CWinApp* app = AfxGetApp()) {
          app->ExitInstance();
        }
        return TRUE;
      }
      default:
        return TRUE;
    }
  } catch (...) {
    return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
  }
}
