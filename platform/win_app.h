// The application object's base: the framework calls InitInstance when the
// library is loaded into a process and ExitInstance when it is unloaded.
#pragma once

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return 0; }
};

// The one application object of the module, or null before it is constructed.
CWinApp* AfxGetApp();

// True once the process has begun to exit: the system has already ended every
// other thread, so nothing may wait for one of them (the panel thread).
bool ProcessIsExiting();
void NoteProcessExiting();

// Pauses the calling thread.
void SleepMilliseconds(unsigned milliseconds);
