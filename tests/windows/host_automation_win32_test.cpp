// The host automation over IDispatch, against an in-process stand-in for the
// host's object: the members, kinds and argument types of each call, the
// conversion of the results, and the failure paths.
#include "windows/host_automation_win32.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

// One call as the host object saw it.
struct SeenCall {
  DISPID member = 0;
  WORD kind = 0;
  UINT named = 0;
  std::vector<VARTYPE> types;
  std::wstring text;  // a BSTR argument
  LONG number = 0;    // an I4 argument
};

// A reference-counted object that results can carry, to see them released.
class Counted final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  long refs = 1;
};

class FakeHost final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD kind, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    SeenCall call;
    call.member = member;
    call.kind = kind;
    call.named = params->cNamedArgs;
    for (UINT i = 0; i < params->cArgs; ++i) {
      const VARIANT& a = params->rgvarg[i];
      call.types.push_back(a.vt);
      if (a.vt == VT_BSTR && a.bstrVal != nullptr) {
        call.text.assign(a.bstrVal, SysStringLen(a.bstrVal));
      }
      if (a.vt == VT_I4) {
        call.number = a.lVal;
      }
    }
    calls.push_back(call);
    if (busyCalls > 0) {
      --busyCalls;
      return RPC_E_CALL_REJECTED;
    }
    if (FAILED(failure)) {
      if (failure == DISP_E_EXCEPTION && exception != nullptr) {
        exception->bstrDescription = SysAllocString(L"host has gone away");
        exception->bstrSource = SysAllocString(L"Vexa2");
      }
      return failure;
    }
    if (result != nullptr) {
      VariantCopy(result, &answer);
    }
    return S_OK;
  }

  std::vector<SeenCall> calls;
  HRESULT failure = S_OK;
  int busyCalls = 0;  // calls still refused as busy
  VARIANT answer;
};

class HostAutomationTest : public ::testing::Test {
 protected:
  void SetUp() override { VariantInit(&host_.answer); }
  void TearDown() override { VariantClear(&host_.answer); }

  void Answer(const wchar_t* text) {
    VariantClear(&host_.answer);
    host_.answer.vt = VT_BSTR;
    host_.answer.bstrVal = text != nullptr ? SysAllocString(text) : nullptr;
  }
  void Answer(double number) {
    VariantClear(&host_.answer);
    host_.answer.vt = VT_R8;
    host_.answer.dblVal = number;
  }

  FakeHost host_;
  std::atomic<bool> stopping_{false};
  DispatchHostAutomation automation_{host_, stopping_};
};

}  // namespace

TEST_F(HostAutomationTest, AMacroIsMethod16WithOneStringArgument) {
  EXPECT_TRUE(automation_.RunMacro("<BAUDRATE:63>"));
  ASSERT_EQ(1u, host_.calls.size());
  const SeenCall& c = host_.calls[0];
  EXPECT_EQ(16, c.member);
  EXPECT_EQ(DISPATCH_METHOD, c.kind);
  EXPECT_EQ(0u, c.named);
  EXPECT_EQ(std::vector<VARTYPE>({VT_BSTR}), c.types);
  EXPECT_EQ(L"<BAUDRATE:63>", c.text);
}

TEST_F(HostAutomationTest, TheEntryTextIsMethod8WithTheInteger5) {
  Answer(L"Q2AA");
  std::string text = "before";
  EXPECT_TRUE(automation_.ReadEntryText(kEntryTextArgument, text));
  EXPECT_EQ("Q2AA", text);
  ASSERT_EQ(1u, host_.calls.size());
  EXPECT_EQ(8, host_.calls[0].member);
  EXPECT_EQ(DISPATCH_METHOD, host_.calls[0].kind);
  EXPECT_EQ(std::vector<VARTYPE>({VT_I4}), host_.calls[0].types);
  EXPECT_EQ(5, host_.calls[0].number);
}

TEST_F(HostAutomationTest, ANullOrEmptyEntryTextReadsAsEmptyText) {
  for (const wchar_t* answer : {static_cast<const wchar_t*>(nullptr), L""}) {
    Answer(answer);
    std::string text = "Q2AA";
    EXPECT_TRUE(automation_.ReadEntryText(kEntryTextArgument, text));
    EXPECT_EQ("", text);
  }
}

TEST_F(HostAutomationTest, AnEntryTextThatIsNoStringFailsAndIsReleased) {
  Counted object;
  VariantClear(&host_.answer);
  host_.answer.vt = VT_UNKNOWN;
  host_.answer.punkVal = &object;
  object.AddRef();  // the answer's own reference
  std::string text = "kept";
  EXPECT_FALSE(automation_.ReadEntryText(kEntryTextArgument, text));
  EXPECT_EQ("kept", text);
  EXPECT_EQ(2, object.refs) << "the copy handed to the plug-in was released";

  Answer(14080000.0);
  EXPECT_FALSE(automation_.ReadEntryText(kEntryTextArgument, text));
}

TEST_F(HostAutomationTest, TheFrequencyIsProperty2WithoutArguments) {
  Answer(14080000.5);
  double hertz = 0;
  EXPECT_TRUE(automation_.ReadFrequency(hertz));
  EXPECT_EQ(14080000.5, hertz);
  ASSERT_EQ(1u, host_.calls.size());
  EXPECT_EQ(2, host_.calls[0].member);
  EXPECT_EQ(DISPATCH_PROPERTYGET, host_.calls[0].kind);
  EXPECT_TRUE(host_.calls[0].types.empty());
}

TEST_F(HostAutomationTest, AWholeNumberFrequencyCountsButATextDoesNot) {
  VariantClear(&host_.answer);
  host_.answer.vt = VT_I4;
  host_.answer.lVal = 7040000;
  double hertz = 0;
  EXPECT_TRUE(automation_.ReadFrequency(hertz));
  EXPECT_EQ(7040000.0, hertz);

  Answer(L"14080000");
  hertz = 1;
  EXPECT_FALSE(automation_.ReadFrequency(hertz));
  EXPECT_EQ(1, hertz);
}

TEST_F(HostAutomationTest, AFailingCallGivesFalseForEveryMember) {
  for (HRESULT failure : {DISP_E_EXCEPTION, DISP_E_MEMBERNOTFOUND, RPC_E_DISCONNECTED}) {
    host_.failure = failure;
    Answer(L"Q2AA");
    std::string text = "kept";
    double hertz = 3;
    EXPECT_FALSE(automation_.RunMacro("<SP1>"));
    EXPECT_FALSE(automation_.ReadEntryText(kEntryTextArgument, text));
    EXPECT_FALSE(automation_.ReadFrequency(hertz));
    EXPECT_EQ("kept", text);
    EXPECT_EQ(3, hertz);
  }
}

TEST_F(HostAutomationTest, OnceAStopHasBegunNothingReachesTheHost) {
  stopping_ = true;
  std::string text;
  double hertz = 0;
  EXPECT_FALSE(automation_.RunMacro("<MODE:RTTY>"));
  EXPECT_FALSE(automation_.ReadEntryText(kEntryTextArgument, text));
  EXPECT_FALSE(automation_.ReadFrequency(hertz));
  EXPECT_TRUE(host_.calls.empty());
}

TEST(HostTexts, RoundTripThroughTheAnsiCodePage) {
  for (const std::string text : {"", "<MODE:BPSK31>", "Q2AA/P"}) {
    BSTR wide = BstrFromAnsi(text);
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(text.size(), SysStringLen(wide));
    EXPECT_EQ(text, AnsiFromBstr(wide));
    SysFreeString(wide);
  }
  EXPECT_EQ("", AnsiFromBstr(nullptr));
}

TEST_F(HostAutomationTest, AHostBusyForAMomentIsAskedAgain) {
  host_.busyCalls = 2;
  EXPECT_TRUE(automation_.RunMacro("<MODE:HELL>"));
  EXPECT_EQ(3u, host_.calls.size()) << "two refusals, then the call that got through";

  // A host that stays busy: the panel gives up after a bounded time.
  host_.calls.clear();
  host_.busyCalls = 1000;
  EXPECT_FALSE(automation_.RunMacro("<MODE:HELL>"));
  EXPECT_GE(host_.calls.size(), 2u);
  EXPECT_LE(host_.calls.size(), kHostBusyRetryMs / kHostBusyRetryEveryMs + 2);

  // A stop ends the retrying.
  host_.calls.clear();
  stopping_ = true;
  EXPECT_FALSE(automation_.RunMacro("<MODE:HELL>"));
  EXPECT_TRUE(host_.calls.empty());
}

TEST(StopAwareFilter, NeverCancelsACallAndHandsARefusalBack) {
  std::atomic<bool> stopping{false};
  StopAwareMessageFilter filter(stopping);
  for (bool stop : {false, true}) {
    stopping = stop;
    EXPECT_EQ(static_cast<DWORD>(PENDINGMSG_WAITDEFPROCESS), filter.MessagePending(nullptr, 10, 0));
    EXPECT_EQ(static_cast<DWORD>(-1), filter.RetryRejectedCall(nullptr, 10, SERVERCALL_RETRYLATER));
  }
  EXPECT_EQ(static_cast<DWORD>(SERVERCALL_ISHANDLED),
            filter.HandleInComingCall(0, nullptr, 0, nullptr));
}

TEST(HostConnectionTest, WithoutARunningHostObjectThereIsNoHost) {
  std::atomic<bool> stopping{false};
  HostConnection connection(stopping);
  EXPECT_EQ(nullptr, connection.Connect());
  EXPECT_EQ(nullptr, connection.Leave()) << "no reference to hand over";
}
