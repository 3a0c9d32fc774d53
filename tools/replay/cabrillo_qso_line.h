// One QSO line of a Cabrillo 3.0 log, in the column layout the contest robots
// read:
//
//                              --------info sent------- -------info rcvd--------
//   QSO: freq  mo date       time call          rst exch   call          rst exch
//   QSO: ***** ** yyyy-mm-dd nnnn ************* nnn ****** ************* nnn ******
//
// A value longer than its column is written whole and the next column follows
// after one blank, so every field stays a blank-separated token. Pure; safe on
// any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/ole_date_time.h"
#include "tools/common/host_contact.h"

// One QSO line, without its line end; `tag` is "QSO:" or "X-QSO:".
std::string FormatCabrilloQsoLine(std::string_view tag, const HostContact& qso,
                                  const std::string& ownCall);

// The frequency column: kilohertz below 30 MHz, the band designator from 6 m
// up, the band's designator when the frequency is missing, "0" when neither is
// known.
std::string CabrilloFrequency(unsigned int hertz, std::string_view band);

// True for a time a QSO line can hold: a valid date-time with a calendar date.
bool HasCabrilloTime(const COleDateTime& time);
