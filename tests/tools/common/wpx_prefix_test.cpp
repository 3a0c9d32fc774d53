#include "tools/common/wpx_prefix.h"

#include <gtest/gtest.h>

namespace {

struct Example {
  const char* call;
  const char* prefix;
};

// Examples the WPX rules give, and the cases around them.
constexpr Example kExamples[] = {
    {"N8BJQ", "N8"},      {"WB2ABC", "WB2"},     {"K1TEO", "K1"},          {"LY1000A", "LY1000"},
    {"YB10ABC", "YB10"},  {"9A1A", "9A1"},       {"3DA0XX", "3DA0"},       {"2E0ABC", "2E0"},
    {"4U1ITU", "4U1"},    {"E73ABC", "E73"},     {"RAEM", "RA0"},          {"K", "K0"},
    {"N8BJQ/KH9", "KH9"}, {"KH9/N8BJQ", "KH9"},  {"N8BJQ/VP2E", "VP2"},    {"K1TEO/8", "K8"},
    {"WB2ABC/4", "WB4"},  {"9A1A/2", "9A2"},     {"RAEM/3", "RA3"},        {"PA/N8BJQ", "PA0"},
    {"N8BJQ/PA", "PA0"},  {"N8BJQ/P", "N8"},     {"N8BJQ/M", "N8"},        {"N8BJQ/MM", "N8"},
    {"N8BJQ/AM", "N8"},   {"N8BJQ/QRP", "N8"},   {"N8BJQ/A", "N8"},        {"N8BJQ/E", "N8"},
    {"N8BJQ/J", "N8"},    {"PA/N8BJQ/P", "PA0"}, {"N8BJQ/KH9/QRP", "KH9"}, {"K1TEO/8/P", "K8"},
    {"n8bjq/kh9", "KH9"}, {" N8BJQ ", "N8"},     {"AB1C/KH6X", "AB1"},     {"", ""},
    {"/P", ""},
};

TEST(WpxPrefixTest, Examples) {
  for (const Example& e : kExamples) {
    EXPECT_EQ(e.prefix, WpxPrefix(e.call)) << "for the call '" << e.call << "'";
  }
}

}  // namespace
