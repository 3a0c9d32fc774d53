#include "platform/thread_exit_win32.h"

namespace {

// IUnknown::Release, the third entry of every COM object's table. Called as a
// queued call it receives the object as its one argument: on 32-bit Windows
// both are __stdcall with one pointer-sized argument that the callee removes,
// on 64-bit Windows the one argument travels in the same register; its result
// is not read.
PAPCFUNC ReleaseOf(IUnknown* object) {
  void* const* table = *reinterpret_cast<void* const* const*>(object);
  return reinterpret_cast<PAPCFUNC>(table[2]);
}

}  // namespace

void SignalAndEndThread(HANDLE done, IUnknown* lastReference) {
  HANDLE self = ::GetCurrentThread();
  // ExitThread is declared as imported, so its address is the system's
  // function itself, read from the import table, and not a stub inside this
  // library.
  // (The argument, 0, reaches it as its exit code; through void (*)() the
  // compiler accepts the change of the pointer's type.)
  const PAPCFUNC exitThread =
      reinterpret_cast<PAPCFUNC>(reinterpret_cast<void (*)()>(&::ExitThread));
  // A release that cannot be queued leaves the reference with the host.
  if (lastReference != nullptr) {
    ::QueueUserAPC(ReleaseOf(lastReference), self, reinterpret_cast<ULONG_PTR>(lastReference));
  }
  const bool ends = ::QueueUserAPC(exitThread, self, 0) != 0;
  // The thread's own handle is never signalled while it runs: the wait ends
  // only through the queued ExitThread, or never.
  ::SignalObjectAndWait(done, self, INFINITE, ends ? TRUE : FALSE);
  // Not reached. Should the wait ever return, waiting again is the one thing
  // left that runs no further instruction here once it has begun.
  for (;;) {
    ::SleepEx(INFINITE, FALSE);
  }
}
