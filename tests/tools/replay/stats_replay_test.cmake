# Runs stats-replay as a user does, on the sample log and on broken input, and
# checks what it prints, what the plug-in leaves in the working folder and the
# exit codes.
#
#   cmake -DREPLAY=... -DPLUGIN=... -DSOURCE_DIR=... -DWORK_DIR=... -P stats_replay_test.cmake
#
# The expected result text and error log of the sample were worked out from the
# contest rules by scripts/make-sample-log.py, not by the plug-in.
cmake_minimum_required(VERSION 3.20)

set(SAMPLE ${SOURCE_DIR}/examples/kova-sample.adi)
set(DATA ${SOURCE_DIR}/tests/tools/data)

function(fail message)
  message(SEND_ERROR "${message}")
endfunction()

# Runs the program in `dir` with the given arguments; sets rc, err, out and
# out_hex. CMake turns CR LF into LF when it reads text, so the bytes of stdout
# are compared in hexadecimal and `out` serves only for messages.
function(replay dir)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${REPLAY} ${ARGN}
    WORKING_DIRECTORY ${dir}
    RESULT_VARIABLE code
    OUTPUT_FILE ${WORK_DIR}/stdout.txt
    ERROR_FILE ${WORK_DIR}/stderr.txt
    TIMEOUT 60)
  file(READ ${WORK_DIR}/stdout.txt stdout)
  file(READ ${WORK_DIR}/stdout.txt stdout_hex HEX)
  file(READ ${WORK_DIR}/stderr.txt stderr)
  set(rc "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(out_hex "${stdout_hex}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

function(expect_equal what expected actual)
  if(NOT "${expected}" STREQUAL "${actual}")
    fail("${what}:\n--- expected\n${expected}\n--- actual\n${actual}\n---")
  endif()
endfunction()

# Compares stdout byte for byte with a text (escapes such as \r allowed).
function(expect_stdout what expected)
  string(HEX "${expected}" expected_hex)
  if(NOT expected_hex STREQUAL out_hex)
    fail("${what}:\n--- expected\n${expected}\n--- actual\n${out}\n--- (bytes)\n${expected_hex}\n${out_hex}")
  endif()
endfunction()

function(expect_file_equal what expected_path actual_path)
  if(NOT EXISTS "${actual_path}")
    fail("${what}: ${actual_path} was not written")
    return()
  endif()
  file(READ "${expected_path}" expected HEX)
  file(READ "${actual_path}" actual HEX)
  if(NOT expected STREQUAL actual)
    file(READ "${actual_path}" shown)
    fail("${what}: ${actual_path} differs from ${expected_path}:\n${shown}")
  endif()
endfunction()

function(expect_one_error_line what code)
  if(NOT rc STREQUAL "${code}")
    fail("${what}: exit code ${rc}, expected ${code}; stderr: ${err}")
  endif()
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  if(NOT count EQUAL 1 OR NOT err MATCHES "^stats-replay: ")
    fail("${what}: expected one line on stderr, got:\n${err}")
  endif()
  if(NOT out STREQUAL "")
    fail("${what}: nothing belongs on stdout, got:\n${out}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(READ ${DATA}/kova-sample-result.txt expected_result HEX)
# The result text without its last line, which a report run leaves out.
string(HEX "\r\nCreated by Q9ZZ 2016\r\n" credit)
string(LENGTH "${expected_result}" full_length)
string(LENGTH "${credit}" credit_length)
math(EXPR table_length "${full_length} - ${credit_length}")
string(SUBSTRING "${expected_result}" 0 ${table_length} report_result)
string(SUBSTRING "${expected_result}" ${table_length} -1 last_line)
if(NOT last_line STREQUAL credit)
  fail("${DATA}/kova-sample-result.txt does not end with the credit line")
endif()

# The README's main job: the sample log against the library beside the program.
replay(${WORK_DIR}/plain ${SAMPLE})
expect_equal("exit code of the sample replay" "0" "${rc}")
expect_equal("result text of the sample" "${expected_result}" "${out_hex}")
expect_file_equal("error log of the sample" ${DATA}/kova-sample-err.txt ${WORK_DIR}/plain/err.txt)
expect_equal("summary of the sample replay"
  "stats-replay: KOVA-BRAWLCUP: 308 records, 308 played (305 stored, 3 refused: see err.txt), 0 skipped, 0 warnings\n"
  "${err}")

# A report run in another folder, then call checks, with the library named.
replay(${WORK_DIR} --plugin ${PLUGIN} --report --out report ${SAMPLE}
  --check G4KQ 40m RTTY G4 --check G4KQ 20m RTTY G4 --check Q9NEW 20m RTTY Q9)
expect_equal("exit code of the report run" "0" "${rc}")
string(HEX "check G4KQ 40m RTTY G4: 0 duplicate\ncheck G4KQ 20m RTTY G4: 1 known prefix\ncheck Q9NEW 20m RTTY Q9: 2 new multiplier\n" checks)
expect_equal("result text of the report run" "${report_result}${checks}" "${out_hex}")
expect_file_equal("error log of the report run" ${DATA}/kova-sample-err.txt ${WORK_DIR}/report/err.txt)
foreach(name "RTTY.log" "PSK .log" "Q1OWN.sum" "Plugins/KOVA-BRAWLCUP.ini")
  if(NOT EXISTS "${WORK_DIR}/report/${name}")
    fail("the report run left no '${name}' in the --out folder")
  endif()
endforeach()
if(EXISTS ${WORK_DIR}/err.txt)
  fail("with --out the plug-in must not write in the folder the program was started in")
endif()

# A second report run over the first, where a folder has taken the place of
# one log: that log is named, the others are rewritten, the exit code says so.
file(READ ${WORK_DIR}/report/RTTY.log rtty_before)
file(REMOVE "${WORK_DIR}/report/PSK .log")
file(MAKE_DIRECTORY "${WORK_DIR}/report/PSK .log")
file(WRITE ${WORK_DIR}/report/RTTY.log "older\r\n")
replay(${WORK_DIR} --plugin ${PLUGIN} --report --out report ${SAMPLE})
expect_equal("exit code of a report run with a log not written" "1" "${rc}")
string(FIND "${err}" "stats-replay: Not written: report/PSK .log\n" at)
if(at EQUAL -1)
  fail("the log that was not written is not named:\n${err}")
endif()
string(FIND "${err}" "Not written: report/RTTY.log" at)
if(NOT at EQUAL -1)
  fail("a log that was written is named as not written:\n${err}")
endif()
file(READ ${WORK_DIR}/report/RTTY.log rtty_after)
expect_equal("RTTY log rewritten beside the one that failed" "${rtty_before}" "${rtty_after}")
file(REMOVE_RECURSE "${WORK_DIR}/report/PSK .log")

# Own callsign and contest dates from the command line.
replay(${WORK_DIR}/dates ${SAMPLE} --call Q7XYZ --start 2016-02-12 --end 20160215)
expect_equal("exit code with --call and dates" "0" "${rc}")
string(HEX "\t  KOVA-BRAWLCUP 12.02-15.02.2016 \r\n\t\t     Contestant: Q7XYZ\r\n" heading)
string(FIND "${out_hex}" "${heading}" at)
if(NOT at EQUAL 0)
  fail("heading with --call and dates: expected it to start with\n${heading}\ngot\n${out_hex}")
endif()

# A log with faults: warned with record numbers, the rest is played. Record 4
# lacks its <EOR>, so the next contact's fields are repeats in it.
replay(${WORK_DIR}/broken ${DATA}/broken.adi --call Q1OWN)
expect_equal("exit code of the broken log" "0" "${rc}")
set(at "stats-replay: ${DATA}/broken.adi: ")
expect_equal("warnings of the broken log"
"${at}record 2 (line 4): no CALL; the record is skipped
${at}record 3 (line 5): FREQ '7,040' is not a number; no frequency is passed
${at}record 3 (line 5): QSO_DATE '2016021X' is not a date (YYYYMMDD); the time is passed as invalid
${at}record 4 (line 6): the field FOO has the length 'x', which is not a number; the tag is ignored
${at}record 4 (line 6): FREQ 21.080 MHz lies outside BAND 10m; BAND is used and no frequency is passed
${at}record 4 (line 7): CALL, QSO_DATE, TIME_ON, MODE, STX and SRX are given more than once; the first value of each that is not blank is used (two contacts with no <EOR> between them?)
${at}record 5 (line 8): the field COMMENT claims 40 bytes but only 10 are left in the file; the field is dropped
${at}record 5 (line 9): no <EOR> at the end of the file; the record is used as read
stats-replay: KOVA-BRAWLCUP: 5 records, 4 played (4 stored, 0 refused: see err.txt), 1 skipped, 8 warnings
" "${err}")
expect_stdout("result of the broken log"
  "\t  KOVA-BRAWLCUP 13.02-14.02.2016 \r\n\t\t     Contestant: Q1OWN\r\n    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\nQSO:\t 1\t 1\t 1\t 0\t 1\t 0\t 0\r\nPFX:\t 1\t 1\t 1\t 0\t 1\t 0\t 0\r\nScore:\t 1\t 1\t 1\t 0\t 1\t 0\t 0\r\n\r\nCreated by Q9ZZ 2016\r\n")

# A log written the ways other programs write ADIF, with --summary: a field
# twice keeps the serial after it, warnings of one kind are one line, and the
# table counts what became of every record (the refusals as err.txt has them).
replay(${WORK_DIR}/others ${DATA}/other-programs.adi --call Q1OWN --summary --cabrillo q1own.log)
expect_equal("exit code of the other programs' log" "0" "${rc}")
set(at "stats-replay: ${DATA}/other-programs.adi: ")
expect_equal("what stats-replay says of the other programs' log"
"${at}record 1 (line 5): CLUBLOG_QSO_UPLOAD_STATUS is given more than once; the first value that is not blank is used
${at}record 2 (line 6): no CALL; the record is skipped (and 1 more: record 3)
${at}record 4 (line 8): FREQ 7040000 is a frequency in hertz, not in MHz as ADIF gives it; BAND 40m is used and no frequency is passed (and 1 more: record 5)
${at}record 5 (line 9): SRX is given more than once; the first value that is not blank is used
${at}record 5 (line 9): TIME_ON '9:99' is not a time (HHMM or HHMMSS); 0000 is used
${at}record 6 (line 10): no QSO_DATE; the time is passed as invalid
stats-replay: KOVA-BRAWLCUP: 8 records, 6 played (3 stored, 3 refused: see err.txt), 2 skipped, 8 warnings
stats-replay: summary of ${DATA}/other-programs.adi:
  records read          8
  played                6
    stored              3
    refused             3  band 1, mode 1, serial 1
    undated             1  no usable QSO_DATE, passed as an invalid time; 0 stored
  skipped               2  no CALL
  warnings              8
                        2  no CALL
                        2  FREQ in hertz
                        1  CLUBLOG_QSO_UPLOAD_STATUS given more than once
                        1  SRX given more than once
                        1  TIME_ON not a time
                        1  no QSO_DATE
stats-replay: Cabrillo log ${WORK_DIR}/others/q1own.log: 3 QSO lines, 3 X-QSO lines, claimed score 3
" "${err}")
file(STRINGS ${WORK_DIR}/others/q1own.log qso_lines REGEX "^X?-?QSO:")
expect_equal("QSO lines of the other programs' log"
"QSO: 14000 DG 2016-02-13 0000 Q1OWN         599 14     G4ABC         599 36;\
QSO: 14080 RY 2016-02-13 1000 Q1OWN         599 12     DL1AB         599 34;\
QSO:  7000 DG 2016-02-13 1101 Q1OWN         599 13     OK1XY         599 35;\
X-QSO: 14000 CW 2016-02-14 0900 Q1OWN         599 16     K1ZZ          599 38;\
X-QSO:  7000 RY 2016-02-14 0901 Q1OWN         599 17     UA3AA         599 -;\
X-QSO: 10100 RY 0000-00-00 0000 Q1OWN         599 15     F5BB          599 37" "${qso_lines}")

# What cannot be used: one line on stderr and a non-zero exit.
replay(${WORK_DIR}/errors ${WORK_DIR}/no-such-log.adi)
expect_one_error_line("a missing log" 1)
replay(${WORK_DIR}/errors ${DATA})
expect_one_error_line("a folder given as the log" 1)
replay(${WORK_DIR}/errors --plugin ${WORK_DIR}/no-such-plugin.so ${SAMPLE})
expect_one_error_line("a missing plug-in" 1)
replay(${WORK_DIR}/errors --plugin ${SAMPLE} ${SAMPLE})
expect_one_error_line("a plug-in that is no library" 1)
replay(${WORK_DIR}/errors)
expect_one_error_line("no log given" 2)
replay(${WORK_DIR}/errors ${SAMPLE} --check G4KQ 40m)
expect_one_error_line("a short --check" 2)
if(EXISTS ${WORK_DIR}/errors/err.txt)
  fail("a run that could not start must leave no error log")
endif()

replay(${WORK_DIR}/errors --help)
expect_equal("exit code of --help" "0" "${rc}")
if(NOT out MATCHES "\nUsage: stats-replay \\[OPTIONS\\] LOG\n")
  fail("--help prints the usage on stdout, got:\n${out}")
endif()
