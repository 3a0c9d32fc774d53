// Feeds the exports any sequence of host calls: resets with or without the
// report flag, adds, removes, call checks, results and exchange checks, with
// arbitrary texts, null pointers and date-times of every status and value.
// Aborts when an export answers outside its documented results.
#include <cstdlib>
#include <deque>
#include <string>

#include "fuzz_support.h"
#include "platform/ole_date_time.h"
#include "plugin/exports.h"
#include "module_hooks.h"
#include "plugin/module_state.h"
#include "contest/settings.h"

namespace {

class CallDecoder {
 public:
  explicit CallDecoder(ByteReader& in) : in_(in) {}

  // A text, or a null pointer when the next byte says so.
  const char* Text() {
    if (in_.Byte() % 8 == 0) {
      return nullptr;
    }
    texts_.push_back(in_.Text());
    return texts_.back().c_str();
  }

  COleDateTime* Date() {
    const uint8_t kind = in_.Byte();
    if (kind % 5 == 0) {
      return nullptr;
    }
    COleDateTime t;
    t.m_dt = in_.Raw<double>();
    t.m_status = kind % 5 == 1 ? in_.Raw<int32_t>() : COleDateTime::valid;
    dates_.push_back(t);
    return &dates_.back();
  }

 private:
  ByteReader& in_;
  std::deque<std::string> texts_;     // deque: pointers stay valid as it grows
  std::deque<COleDateTime> dates_;
};

void Check(bool ok) {
  if (!ok) {
    std::abort();
  }
}

int AddOrRemove(bool add, CallDecoder& d, ByteReader& in) {
  auto fn = add ? &AddData0 : &RemoveData0;
  const char* own = d.Text();
  const char* call = d.Text();
  COleDateTime* time = d.Date();
  const unsigned hertz = in.Raw<unsigned>();
  const char* mode = d.Text();
  const char* rstSent = d.Text();
  const char* rstRcvd = d.Text();
  const char* nrSent = d.Text();
  const char* nrRcvd = d.Text();
  const char* prefix = d.Text();
  const char* band = d.Text();
  return fn(own, call, time, nullptr, nullptr, nullptr, 0, hertz, mode, rstSent, rstRcvd, nrSent,
            nrRcvd, nullptr, "", nullptr, "", nullptr, "", nullptr, "", prefix, d.Text(), 1, 2, 3,
            4.0, 5.0, nullptr, d.Text(), nullptr, band, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static int runs = 0;
  EnterScratchFolder();
  if (++runs % 2000 == 0) {
    SweepScratchFolder();
  }
  RebuildModuleForTests();
  ByteReader in(data, size);
  CallDecoder d(in);
  for (int calls = 0; !in.empty() && calls < 200; ++calls) {
    switch (in.Byte() % 8) {
      case 0: {
        const int flag = in.Byte() % 3 == 0 ? 1 : 0;
        const char* call = d.Text();
        COleDateTime* start = d.Date();
        COleDateTime* end = d.Date();
        Check(ResetStats0(nullptr, flag, call, start, end, "", "", "", "", "", "", "", "", "", "",
                          0, 0, 0, 0.0, 0.0, "", "", "") == 1);
        break;
      }
      case 1:
      case 2: {
        const int r = AddOrRemove(true, d, in);
        Check(r == 0 || r == 1);
        break;
      }
      case 3:
        Check(AddOrRemove(false, d, in) == 1);
        break;
      case 4: {
        const char* call = d.Text();
        const char* mode = d.Text();
        const char* prefix = d.Text();
        const char* exchange = d.Text();
        const char* band = d.Text();
        const char* other = d.Text();
        char buffers[2][4] = {"abc", "def"};
        const int r = CheckCall0(call, 0, 0, mode, "", "", "", "", "", "", "", "", prefix,
                                 exchange, 0, 0, 0, 0.0, 0.0, "", "", "", "", "", band, other,
                                 buffers[0], buffers[1]);
        Check(r == 0 || r == 1 || r == 2 || r == 4);
        Check(std::string(buffers[0]) == "abc" && std::string(buffers[1]) == "def");
        break;
      }
      case 5: {
        int out = 7;
        const bool useOut = in.Byte() % 2 == 0;
        const char* result = GetResult0(useOut ? &out : nullptr);
        Check(result != nullptr && std::string(result).find("KOVA-BRAWLCUP") != std::string::npos);
        break;
      }
      case 6: {
        const char* text = d.Text();
        const char* reference = d.Text();
        const int r = IsValidExchg0(text, nullptr, reference, nullptr, 0, 0,
                                    static_cast<int8_t>(in.Byte()));
        Check(r == 0 || r == 1);
        Check(GetExchgCount0(text, nullptr, reference) == 2);
        break;
      }
      default: {
        // The mode word and the panel switch come from the settings file.
        const char* value = d.Text();
        Settings().Write(in.Byte() % 2 ? settings_key::kMode : settings_key::kStart,
                         value != nullptr ? value : "");
        break;
      }
    }
  }
  return 0;
}
