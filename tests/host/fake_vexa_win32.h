// A stand-in for the host program's automation object "Vexa2.Application":
// a hand-written IDispatch with the three members the plug-in uses, which
// writes down every call and answers with the entry text and frequency the
// test sets. Registered under its programmatic identifier and in the running
// object table, it is what the plug-in's panel finds as the host would offer
// it.
//
// Threading: lives in the test's single-threaded apartment (its main thread),
// so calls arrive only while that thread pumps messages; the lock lets the
// operator thread read the record too.
#pragma once

#include <oaidl.h>
#include <objidl.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class FakeVexa final : public IDispatch {
 public:
  // Entry in the running object table; false when it cannot be made.
  bool Register();
  void Revoke();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD kind, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override;

  // Every call so far: "macro TEXT", "entry N", "frequency", or "bad ..." for
  // a call with the wrong kind or arguments.
  std::vector<std::string> Calls() const;
  std::vector<std::string> Macros() const;
  int Count(const std::string& call) const;
  void Clear();

  void SetEntryText(const std::wstring& text);
  void SetFrequency(double hertz);
  // The entry text member fails (as a host that has gone away would).
  void SetEntryTextFails(bool fails);

 private:
  void Record(const std::string& call);

  std::atomic<long> refs_{1};
  DWORD cookie_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::wstring entryText_;
  double frequency_ = 0.0;
  bool entryTextFails_ = false;
};

// A host between two jobs of its own: while busy, its apartment refuses every
// call that comes in, as a host's message filter does (SERVERCALL_REJECTED).
// Registered on the thread whose apartment holds the host object.
class BusyHost final : public IMessageFilter {
 public:
  bool Register();
  void Revoke();
  // Refuses calls for the next `milliseconds` (0: from now on none).
  void BusyFor(DWORD milliseconds);
  int refused() const { return refused_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  std::atomic<DWORD> until_{0};
  std::atomic<int> refused_{0};
  IMessageFilter* previous_ = nullptr;
};

// Registers "Vexa2.Application" with the fake's class identifier where the
// system looks it up (HKEY_CLASSES_ROOT).
bool RegisterVexaProgId();
