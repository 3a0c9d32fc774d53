#include "fake_vexa_win32.h"

#include <oleauto.h>

#include <algorithm>

namespace {

// The fake's own class identifier; the real host's is the host's business.
const CLSID kFakeVexaClsid = {
    0x6a8d1b5e, 0x3c2f, 0x4e7a, {0x9b, 0x14, 0x5d, 0x0c, 0x7e, 0x2f, 0x8a, 0x31}};
constexpr char kFakeVexaClsidText[] = "{6A8D1B5E-3C2F-4E7A-9B14-5D0C7E2F8A31}";

std::string Narrow(BSTR text) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(text); ++i) {
    out += static_cast<char>(text[i] < 0x80 ? text[i] : '?');
  }
  return out;
}

}  // namespace

bool RegisterVexaProgId() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "Vexa2.Application\\CLSID", 0, nullptr, 0, KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG set =
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kFakeVexaClsidText),
                     sizeof kFakeVexaClsidText);
  RegCloseKey(key);
  return set == ERROR_SUCCESS;
}

bool FakeVexa::Register() {
  return SUCCEEDED(RegisterActiveObject(static_cast<IDispatch*>(this), kFakeVexaClsid,
                                        ACTIVEOBJECT_STRONG, &cookie_));
}

void FakeVexa::Revoke() {
  if (cookie_ != 0) {
    RevokeActiveObject(cookie_, nullptr);
    cookie_ = 0;
  }
}

HRESULT STDMETHODCALLTYPE FakeVexa::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// The object lives as long as the test program; the count only serves COM.
ULONG STDMETHODCALLTYPE FakeVexa::AddRef() { return static_cast<ULONG>(++refs_); }
ULONG STDMETHODCALLTYPE FakeVexa::Release() { return static_cast<ULONG>(--refs_); }

HRESULT STDMETHODCALLTYPE FakeVexa::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeVexa::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE FakeVexa::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE FakeVexa::Invoke(DISPID member, REFIID, LCID, WORD kind,
                                           DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) {
  const UINT count = params != nullptr ? params->cArgs : 0;
  const VARIANT* arg = count > 0 ? &params->rgvarg[0] : nullptr;
  if (member == 16) {
    if ((kind & DISPATCH_METHOD) == 0 || count != 1 || arg->vt != VT_BSTR) {
      Record("bad macro call");
      return DISP_E_TYPEMISMATCH;
    }
    Record("macro " + Narrow(arg->bstrVal));
    return S_OK;
  }
  if (member == 8) {
    if ((kind & DISPATCH_METHOD) == 0 || count != 1 || arg->vt != VT_I4) {
      Record("bad entry call");
      return DISP_E_TYPEMISMATCH;
    }
    Record("entry " + std::to_string(arg->lVal));
    std::lock_guard<std::mutex> lock(mutex_);
    if (entryTextFails_) {
      return DISP_E_EXCEPTION;
    }
    if (result != nullptr) {
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocStringLen(entryText_.data(), static_cast<UINT>(entryText_.size()));
    }
    return S_OK;
  }
  if (member == 2) {
    if ((kind & DISPATCH_PROPERTYGET) == 0 || count != 0) {
      Record("bad frequency call");
      return DISP_E_TYPEMISMATCH;
    }
    Record("frequency");
    if (result != nullptr) {
      std::lock_guard<std::mutex> lock(mutex_);
      result->vt = VT_R8;
      result->dblVal = frequency_;
    }
    return S_OK;
  }
  Record("bad member " + std::to_string(member));
  return DISP_E_MEMBERNOTFOUND;
}

void FakeVexa::Record(const std::string& call) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(call);
}

std::vector<std::string> FakeVexa::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<std::string> FakeVexa::Macros() const {
  std::vector<std::string> macros;
  for (const std::string& c : Calls()) {
    if (c.rfind("macro ", 0) == 0) {
      macros.push_back(c.substr(6));
    }
  }
  return macros;
}

int FakeVexa::Count(const std::string& call) const {
  const std::vector<std::string> calls = Calls();
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

void FakeVexa::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

void FakeVexa::SetEntryText(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  entryText_ = text;
}

void FakeVexa::SetFrequency(double hertz) {
  std::lock_guard<std::mutex> lock(mutex_);
  frequency_ = hertz;
}

void FakeVexa::SetEntryTextFails(bool fails) {
  std::lock_guard<std::mutex> lock(mutex_);
  entryTextFails_ = fails;
}

bool BusyHost::Register() { return SUCCEEDED(CoRegisterMessageFilter(this, &previous_)); }

void BusyHost::Revoke() {
  IMessageFilter* ours = nullptr;
  CoRegisterMessageFilter(previous_, &ours);
}

void BusyHost::BusyFor(DWORD milliseconds) {
  until_ = milliseconds == 0 ? 0 : GetTickCount() + milliseconds;
}

HRESULT STDMETHODCALLTYPE BusyHost::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE BusyHost::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  const DWORD until = until_;
  if (until != 0 && static_cast<LONG>(until - GetTickCount()) > 0) {
    ++refused_;
    return SERVERCALL_REJECTED;
  }
  return SERVERCALL_ISHANDLED;
}
