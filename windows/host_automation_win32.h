// The host program's automation object ("Vexa2.Application") over IDispatch,
// and the panel thread's connection to it.
//
// Threading: everything here runs on the panel thread, which initialises COM
// as a single-threaded apartment, except ServeHostApartment, which runs on the
// host's thread. Calls on the host object are calls into the host's
// apartment, answered only while the host's thread (or whichever thread owns
// the object) serves it. From the moment a stop begins the panel thread makes
// no new call; a call already on its way is left to finish, served by the
// stop routine itself (ServeHostApartment): cancelling it would leave the
// system finishing it into memory that is gone by then. The last call, the
// release of the host object, is not the panel's to make: the connection
// hands the reference over (Leave) and the thread has the system release it
// once it no longer runs this library's code (thread_exit_win32.h), because
// the release may need the loader lock that an unloading host holds.
#pragma once

#include <oaidl.h>
#include <objidl.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "windows/host_automation.h"

inline constexpr wchar_t kHostProgId[] = L"Vexa2.Application";
// How long a call the host refuses as busy is tried again, and how often:
// long enough for a host between two of its own jobs, short enough that the
// panel never seems stuck.
inline constexpr DWORD kHostBusyRetryMs = 2000;
inline constexpr DWORD kHostBusyRetryEveryMs = 100;

// IHostAutomation over an IDispatch the caller keeps alive. Every VARIANT and
// BSTR made or received is cleared on every path; a failed call, a result of
// the wrong type or a stop in progress gives false. A host that refuses a
// call because it is busy (RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_RETRYLATER)
// is asked again every kHostBusyRetryEveryMs for up to kHostBusyRetryMs,
// answering a stop's requests in between; a stop ends the retrying.
class DispatchHostAutomation final : public IHostAutomation {
 public:
  DispatchHostAutomation(IDispatch& host, const std::atomic<bool>& stopping)
      : host_(host), stopping_(stopping) {}

  bool RunMacro(const std::string& macro) override;
  bool ReadEntryText(int argument, std::string& text) override;
  bool ReadFrequency(double& hertz) override;

 private:
  // Invoke with `args` in the order the member takes them (reversed for the
  // call, as IDispatch wants); `result` receives the cleared-first result.
  HRESULT Call(DISPID member, WORD kind, VARIANTARG* args, UINT count, VARIANT& result);

  IDispatch& host_;
  const std::atomic<bool>& stopping_;
};

// Text conversions in the thread's ANSI code page. A null BSTR reads as empty
// text; the BSTR made from `text` belongs to the caller (null when out of
// memory).
std::string AnsiFromBstr(BSTR text);
BSTR BstrFromAnsi(const std::string& text);

// While registered on the panel thread: a call the host refuses comes back to
// the caller at once (which may try again), and a call in progress is never
// cancelled.
class StopAwareMessageFilter final : public IMessageFilter {
 public:
  explicit StopAwareMessageFilter(const std::atomic<bool>& stopping) : stopping_(stopping) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // Owned by the connection, not by COM: the counts only keep COM's rules.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                            DWORD rejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

 private:
  const std::atomic<bool>& stopping_;
};

// The panel thread's COM apartment and its host object, for one panel.
class HostConnection {
 public:
  explicit HostConnection(const std::atomic<bool>& stopping);
  // Leaves a connection that was not left as it is (no call into the host
  // from a destructor, which may run under a lock the host's thread waits
  // for): the reference is then never released.
  ~HostConnection();
  HostConnection(const HostConnection&) = delete;
  HostConnection& operator=(const HostConnection&) = delete;

  // Initialises COM on this thread (single-threaded apartment), registers
  // the message filter and looks up the running host object. Null when the
  // host offers none; no message is shown.
  IHostAutomation* Connect();

  // Unregisters the message filter and hands over the host object's
  // reference (null when there is none) for the thread to release once it
  // has left the library. The apartment stays until the thread ends, when
  // COM's own clean-up takes it down; by then it holds no proxy, so that
  // clean-up calls nobody.
  IDispatch* Leave();

 private:
  void RevokeFilter();

  const std::atomic<bool>& stopping_;
  StopAwareMessageFilter filter_;
  bool comInitialised_ = false;
  bool filterRegistered_ = false;
  IMessageFilter* previousFilter_ = nullptr;
  IDispatch* host_ = nullptr;
  std::unique_ptr<DispatchHostAutomation> automation_;
};

// Panel thread: waits `milliseconds` answering only the messages other
// threads send (a stop's requests); posted messages stay queued.
void AnswerSentMessagesFor(DWORD milliseconds);

// Host's thread, in the stop routine: waits `milliseconds` while answering
// the calls that wait for this thread's apartment (and nothing else of its
// message queue). Sleeps where this thread has no apartment window.
void ServeHostApartment(int milliseconds);
