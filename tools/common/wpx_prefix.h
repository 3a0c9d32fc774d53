// The prefix of a callsign by the WPX rules, the multiplier the host works out
// for every QSO before it hands the QSO to the plug-in.
//
// Rules, as the WPX contest states them:
// - the prefix is the call's letters and digits up to the last digit of its
//   first digit group (N8BJQ -> N8, WB2ABC -> WB2, LY1000A -> LY1000); a call
//   that begins with a digit keeps that digit with the letters after it
//   (9A1A -> 9A1, 3DA0XX -> 3DA0);
// - a call without any digit gets a 0 after its first two letters (RAEM -> RA0);
// - the designators /P /M /MM /AM /QRP /A /E /J are ignored;
// - a designator that holds a digit replaces the prefix (N8BJQ/KH9 -> KH9);
//   one that is only a digit replaces the number (K1TEO/8 -> K8);
// - a designator without a digit gets a 0 (PA/N8BJQ -> PA0).
// Of the two parts around a '/', the shorter one is the designator (the first
// on equal lengths). Letters are upper-cased. Pure; safe on any thread.
#pragma once

#include <string>
#include <string_view>

std::string WpxPrefix(std::string_view call);
