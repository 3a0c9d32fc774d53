// The panel thread: starts the mode switch panel on a thread of its own, runs
// it there modally, and stops it (before a new one starts, and when the
// plug-in unloads).
//
// Threading: Start, Stop, IsRunning and Nudge run on the host's thread;
// Procedure is the body of the panel thread. The panel reference is the only
// state the two share, guarded by a lock of its own (never the module lock,
// which the panel's handlers take while the host's thread may be waiting
// here). The host's thread never touches the panel's timer or windows itself:
// it asks the panel thread through the requests of IPanelDialog, because a
// window's timers and windows belong to that window's thread.
//
// The stop routine also runs inside the library's unload, where the system's
// loader lock is held: it waits for nothing that could need that lock. The
// panel thread's opening may need it (a thread starting, windows, COM), so a
// start returns only once the panel has opened; after that the panel thread
// needs neither the lock nor a new thread, and it makes no call into the host
// once a stop has begun. A stop returns only when the thread has left the
// library's code for good (IPanelThreadHost::ThreadInLibrary).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "windows/panel_control.h"

// A running mode switch panel, as the panel thread's control sees it.
class IPanelDialog {
 public:
  virtual ~IPanelDialog() = default;

  // Panel thread: creates the dialog and runs it modally; calls `opened` once
  // the panel has finished opening (the host looked up, its mode switched,
  // the timer armed) and returns when it has been closed (close box or
  // RequestClose).
  virtual void RunModal(const std::function<void()>& opened) = 0;
  // Panel thread, after RunModal: closes an open Multiplier window.
  virtual void CloseMultiplier() = 0;

  // From the host's thread. Each is made with the panel reference's lock held,
  // so it must be delivered to the dialog's window only and fail at once when
  // that window does not exist (before RunModal has created it, after it has
  // been destroyed). The panel thread takes no lock while handling them.
  //
  // Posted: arms the panel timer for `milliseconds`; returns at once.
  virtual void RequestArmTimer(int milliseconds) = 0;
  // Sent: return once the panel thread has handled them, true when delivered.
  virtual bool RequestCancelTimer() = 0;
  virtual bool RequestCloseMultiplier() = 0;
  virtual bool RequestClose() = 0;
};

class PanelThread;

// The window system side of the panel thread.
class IPanelThreadHost {
 public:
  virtual ~IPanelThreadHost() = default;

  // Starts a thread (default attributes, handle not kept) that runs
  // `thread.Procedure()` and then leaves the library; false when no thread
  // could be started. Called only when no earlier thread is in the library.
  virtual bool SpawnThread(PanelThread& thread) = 0;
  // True while the thread of the last SpawnThread may still run an
  // instruction of this library: from SpawnThread until the thread, after
  // its procedure, has said it is done with the library's code.
  virtual bool ThreadInLibrary() const = 0;
  // Constructs a panel dialog without creating its window. Called on the
  // panel thread with the reference's lock held; it must not call back into
  // the PanelThread.
  virtual std::unique_ptr<IPanelDialog> ConstructPanel() = 0;
  // The wait between two looks at the panel thread, on the host's thread.
  // A call of the panel's into the host may be waiting for this very thread
  // to answer it: where that can be, it serves them meanwhile.
  virtual void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  // On the panel thread, while it waits for the panel reference's lock after
  // its dialog has gone: the host's thread may hold that lock while it waits
  // for a request to that very dialog, which only this thread can answer.
  virtual void AnswerRequests() { std::this_thread::yield(); }
};

// Exit codes of the thread procedure.
inline constexpr int kPanelThreadDone = 0;
inline constexpr int kPanelThreadAlreadyRunning = 1;

// How often a stop or a start looks whether the panel thread has got there.
inline constexpr int kStopPollMs = 20;

class PanelThread final : public IPanelControl {
 public:
  explicit PanelThread(IPanelThreadHost& host);

  bool IsRunning() const override;
  // Stops a running panel first, then spawns a new panel thread and waits
  // (serving the host as the stop routine does) until its panel has opened
  // or could not. While a panel opens, its thread may need the system's
  // loader lock, which a host unloading the library holds while it waits for
  // the panel to close: a host that unloads right after the reset that
  // started the panel must find it open, not opening, however slow the
  // machine. There is no time limit: the opening needs only this process
  // (the host's answer to the look-up of its object is served here).
  void Start() override;
  // Cancels the timer, closes the window, closes the panel and returns once
  // the panel thread has destroyed it and left the library's code. Retries
  // the close request until it is delivered, so a panel whose window did not
  // yet exist is closed too.
  void Stop() override;
  // Re-arms the timer of a running panel for 330 ms.
  void Nudge() override;

  // The thread body: kPanelThreadAlreadyRunning when a panel was already
  // stored, otherwise runs one panel to its end and returns kPanelThreadDone.
  // The panel reference is cleared only after the panel has been destroyed.
  // A panel constructed after a stop has begun is not opened.
  int Procedure();

 private:
  // Counts the panels that finished opening (or gave up): a start waits for
  // it to move. Atomic rather than under the lock: the panel thread counts
  // from inside its dialog's initialisation, where it must never wait for
  // the lock (the host's thread may hold it while a request waits for that
  // very dialog).
  void NoteOpened() { ++openings_; }

  IPanelThreadHost& host_;
  mutable std::mutex mutex_;
  IPanelDialog* panel_ = nullptr;  // owned by the running Procedure
  std::atomic<unsigned> openings_{0};
  std::atomic<bool> stopping_{false};
};
