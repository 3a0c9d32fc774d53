#include "windows/host_automation_win32.h"

#include <oleauto.h>

#include <climits>
#include <utility>

namespace {

// A VARIANT cleared when its scope ends, whatever it holds by then.
struct ScopedVariant {
  VARIANT v;
  ScopedVariant() { ::VariantInit(&v); }
  ~ScopedVariant() { ::VariantClear(&v); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

// The texts a failing member may hand back, freed on every path.
struct ScopedExcepInfo {
  EXCEPINFO info = {};
  ~ScopedExcepInfo() {
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
  }
};

bool IsNumber(VARTYPE type) {
  switch (type) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string AnsiFromBstr(BSTR text) {
  const UINT length = ::SysStringLen(text);
  if (text == nullptr || length == 0 || length > INT_MAX) {
    return std::string();
  }
  const int wide = static_cast<int>(length);
  const int bytes =
      ::WideCharToMultiByte(CP_THREAD_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    return std::string();
  }
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_THREAD_ACP, 0, text, wide, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

BSTR BstrFromAnsi(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) {
    return nullptr;
  }
  const int bytes = static_cast<int>(text.size());
  const int wide =
      bytes == 0 ? 0 : ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), bytes, nullptr, 0);
  BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(wide > 0 ? wide : 0));
  if (result != nullptr && wide > 0) {
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), bytes, result, wide);
  }
  return result;
}

namespace {

bool HostWasBusy(HRESULT result) {
  return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

}  // namespace

void AnswerSentMessagesFor(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  for (DWORD waited = 0; waited < milliseconds; waited = ::GetTickCount() - start) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_SENDMESSAGE);
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

HRESULT DispatchHostAutomation::Call(DISPID member, WORD kind, VARIANTARG* args, UINT count,
                                     VARIANT& result) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (stopping_.load()) {
      return RPC_E_CALL_CANCELED;
    }
    DISPPARAMS params = {args, nullptr, count, 0};
    ScopedExcepInfo exception;
    UINT badArgument = 0;
    ::VariantClear(&result);
    const HRESULT answer = host_.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
                                        &result, &exception.info, &badArgument);
    if (!HostWasBusy(answer) || ::GetTickCount() - start >= kHostBusyRetryMs) {
      return answer;
    }
    // A stop's requests are answered meanwhile, and end the retrying.
    AnswerSentMessagesFor(kHostBusyRetryEveryMs);
  }
}

bool DispatchHostAutomation::RunMacro(const std::string& macro) {
  ScopedVariant argument;
  argument.v.vt = VT_BSTR;
  argument.v.bstrVal = BstrFromAnsi(macro);
  if (argument.v.bstrVal == nullptr) {
    return false;
  }
  ScopedVariant result;
  return SUCCEEDED(Call(kDispidRunMacro, DISPATCH_METHOD, &argument.v, 1, result.v));
}

bool DispatchHostAutomation::ReadEntryText(int argument, std::string& text) {
  ScopedVariant field;
  field.v.vt = VT_I4;
  field.v.lVal = argument;
  ScopedVariant result;
  if (FAILED(Call(kDispidEntryText, DISPATCH_METHOD, &field.v, 1, result.v)) ||
      result.v.vt != VT_BSTR) {
    return false;
  }
  text = AnsiFromBstr(result.v.bstrVal);
  return true;
}

bool DispatchHostAutomation::ReadFrequency(double& hertz) {
  ScopedVariant result;
  if (FAILED(Call(kDispidFrequency, DISPATCH_PROPERTYGET, nullptr, 0, result.v)) ||
      !IsNumber(result.v.vt)) {
    return false;
  }
  ScopedVariant number;
  if (FAILED(::VariantChangeType(&number.v, &result.v, 0, VT_R8))) {
    return false;
  }
  hertz = number.v.dblVal;
  return true;
}

HRESULT STDMETHODCALLTYPE StopAwareMessageFilter::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE StopAwareMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                                   LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE StopAwareMessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD) {
  // The refusal comes back to the caller at once, which tries again itself
  // (DispatchHostAutomation::Call): the same way on every system, and a stop
  // can end the retrying.
  return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE StopAwareMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITDEFPROCESS;
}

HostConnection::HostConnection(const std::atomic<bool>& stopping)
    : stopping_(stopping), filter_(stopping) {}

HostConnection::~HostConnection() {
  automation_.reset();
  RevokeFilter();
}

IHostAutomation* HostConnection::Connect() {
  const HRESULT init = ::CoInitialize(nullptr);
  comInitialised_ = SUCCEEDED(init);
  if (comInitialised_) {
    filterRegistered_ = SUCCEEDED(::CoRegisterMessageFilter(&filter_, &previousFilter_));
  }
  CLSID clsid;
  if (FAILED(::CLSIDFromProgID(kHostProgId, &clsid))) {
    return nullptr;
  }
  IUnknown* running = nullptr;
  if (FAILED(::GetActiveObject(clsid, nullptr, &running)) || running == nullptr) {
    return nullptr;
  }
  IDispatch* host = nullptr;
  if (FAILED(running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&host)))) {
    host = nullptr;
  }
  running->Release();
  if (host == nullptr) {
    return nullptr;
  }
  host_ = host;
  automation_ = std::make_unique<DispatchHostAutomation>(*host_, stopping_);
  return automation_.get();
}

void HostConnection::RevokeFilter() {
  if (filterRegistered_) {
    IMessageFilter* ours = nullptr;
    ::CoRegisterMessageFilter(previousFilter_, &ours);
    filterRegistered_ = false;
    previousFilter_ = nullptr;
  }
}

IDispatch* HostConnection::Leave() {
  automation_.reset();
  RevokeFilter();
  return std::exchange(host_, nullptr);
}

namespace {

constexpr wchar_t kApartmentWindowClass[] = L"OleMainThreadWndClass";

// COM's window for the calling thread's apartment: a message-only window on
// some systems, a hidden top-level one on others.
HWND ApartmentWindow() {
  const DWORD self = ::GetCurrentThreadId();
  for (HWND parent : {HWND_MESSAGE, static_cast<HWND>(nullptr)}) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(parent, window, kApartmentWindowClass, nullptr)) != nullptr) {
      if (::GetWindowThreadProcessId(window, nullptr) == self) {
        return window;
      }
    }
  }
  return nullptr;
}

}  // namespace

void ServeHostApartment(int milliseconds) {
  const DWORD start = ::GetTickCount();
  const DWORD span = static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0);
  HWND apartment = ApartmentWindow();
  if (apartment == nullptr) {
    ::Sleep(span);
    return;
  }
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, apartment, 0, 0, PM_REMOVE)) {
      ::DispatchMessageW(&msg);
    }
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= span) {
      return;
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, span - elapsed, QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}
