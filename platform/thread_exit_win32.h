// Ending a thread of this library so that the library may be unmapped the
// moment the thread says it is done.
//
// The host unloads the library with the system's loader lock held, and the
// unload waits for the library's own thread to finish. Once the thread has
// said so, none of its instructions may be the library's: the library is
// unmapped right after, and a thread still returning into it would run into
// nothing. So the thread's last steps belong to the system. One call sets
// `done` and, in the same step, starts an alertable wait on the thread
// itself; that wait delivers the calls queued just before it, in order: the
// release of `lastReference` (a COM object, whose Release is the system's or
// the host's code, never this library's), then ExitThread. Both may wait for
// the loader lock or for the host to answer: by then nobody waits for them.
//
// Threading: called by the thread that ends, as its very last call.
#pragma once

#include <unknwn.h>
#include <windows.h>

// Never returns. Where the system cannot queue the release, the reference
// stays with the host; where it cannot queue ExitThread, the thread instead
// waits for ever without running another instruction of the library, and the
// process's end ends it.
[[noreturn]] void SignalAndEndThread(HANDLE done, IUnknown* lastReference);
