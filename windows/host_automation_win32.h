// The host program's automation object ("Vexa2.Application") over IDispatch,
// and the panel thread's connection to it.
//
// Threading: everything here runs on the panel thread, which initialises COM
// as a single-threaded apartment, except ServeHostApartment, which runs on the
// host's thread. Calls on the host object are calls into the host's own
// apartment, answered only while the host's thread serves it. From the moment
// a stop begins the panel thread makes no new call, and a call still waiting
// is cancelled where the system allows; its last call, the release of the
// host object, is answered by the stop routine itself (ServeHostApartment):
// a reference kept past the thread's end would be released by the system's
// thread clean-up under the loader lock, waiting for a host that cannot
// answer until it takes that same lock.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>

#include <atomic>
#include <memory>
#include <string>

#include "windows/host_automation.h"

inline constexpr wchar_t kHostProgId[] = L"Vexa2.Application";

// IHostAutomation over an IDispatch the caller keeps alive. Every VARIANT and
// BSTR made or received is cleared on every path; a failed call, a result of
// the wrong type or a stop in progress gives false.
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

// While registered on the panel thread, answers the apartment's question
// "a message arrived while waiting for an outgoing call" with "cancel the
// call" once `stopping` is set; otherwise as COM does without a filter.
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
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                         DWORD pendingType) override;

 private:
  const std::atomic<bool>& stopping_;
};

// The panel thread's COM apartment and its host object, for one panel.
class HostConnection {
 public:
  explicit HostConnection(const std::atomic<bool>& stopping);
  // Leaves a connection that was not disconnected as it is (no call into the
  // host from a destructor, which may run under a lock the host's thread
  // waits for).
  ~HostConnection();
  HostConnection(const HostConnection&) = delete;
  HostConnection& operator=(const HostConnection&) = delete;

  // Initialises COM on this thread (single-threaded apartment), registers
  // the message filter and looks up the running host object. Null when the
  // host offers none; no message is shown.
  IHostAutomation* Connect();

  // Releases the host object and leaves the apartment. The release is a call
  // into the host's apartment: the host's thread answers it from its message
  // loop, or from the stop routine's pauses when the panel is being stopped.
  void Disconnect();

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

// Host's thread, in the stop routine: waits `milliseconds` while answering
// the calls that wait for this thread's apartment (and nothing else of its
// message queue). Sleeps where this thread has no apartment window.
void ServeHostApartment(int milliseconds);
