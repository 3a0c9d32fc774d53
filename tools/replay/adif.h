// Reading an ADIF 3 log in its tagged text form (.adi).
//
// A file is a stream of data specifiers `<NAME:LEN[:TYPE]>data`: an optional
// header closed by `<EOH>`, then records each closed by `<EOR>`. Names compare
// without regard to case (they are kept in upper case here); LEN counts bytes,
// whatever the encoding of the data. Text outside the specifiers is ignored.
// The reader never gives up on a bad file: it keeps what it can and says what
// it could not use, with the number of the record and the line it concerns.
//
// A record ends at `<EOR>` and nowhere else: a field given twice in it is one
// field, with the first value that is not blank (RUMlogNG repeats a field in
// every record). Only a file with no `<EOR>` at all is cut into records another
// way, each ending where its first field's name comes again, since writers give
// the fields of every record in one order. Pure functions; safe on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct AdifField {
  std::string name;  // upper case
  std::string value;
};

struct AdifRecord {
  int number = 0;                 // 1 for the first record after the header
  int line = 0;                   // line of its first data specifier, from 1
  std::vector<AdifField> fields;  // file order, no name twice

  // The value of a field, or null when the record has none of that name. The
  // name is matched without regard to case.
  const std::string* Find(std::string_view name) const;
};

struct AdifWarning {
  int record = 0;  // 0: the header, or before the first record
  int line = 0;
  std::string message;
  // What it is about in a few words ("no CALL"): warnings of one kind in one
  // file are shown together and counted under it.
  std::string kind;
};

// "record 12 (line 40): message", or "header (line 3): message".
std::string FormatWarning(const AdifWarning& warning);

struct AdifLog {
  std::vector<AdifField> header;
  std::vector<AdifRecord> records;
  std::vector<AdifWarning> warnings;
};

AdifLog ParseAdif(std::string_view bytes);
