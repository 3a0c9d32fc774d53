# Runs stats-replay --cabrillo on the sample log as a contester does, with and
# without --report, and checks that
#   - the plug-in's own files (error log, per-mode logs, summary sheet, settings)
#     are byte for byte what the same run without --cabrillo leaves;
#   - the Cabrillo log is one a Cabrillo 3.0 reader accepts, with the header
#     from the settings and one QSO line per stored contact;
#   - a name the plug-in writes itself, or a folder that is not there, is refused.
#
#   cmake -DREPLAY=... -DCHECK=... -DSOURCE_DIR=... -DWORK_DIR=... -DVERSION=...
#         -P stats_replay_cabrillo_test.cmake
cmake_minimum_required(VERSION 3.20)

set(SAMPLE ${SOURCE_DIR}/examples/kova-sample.adi)

function(fail message)
  message(SEND_ERROR "${message}")
endfunction()

# Runs the program from WORK_DIR; sets rc, out and err.
function(replay)
  execute_process(COMMAND ${REPLAY} ${ARGN}
    WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE code
    OUTPUT_FILE ${WORK_DIR}/stdout.txt
    ERROR_FILE ${WORK_DIR}/stderr.txt
    TIMEOUT 60)
  file(READ ${WORK_DIR}/stdout.txt stdout HEX)
  file(READ ${WORK_DIR}/stderr.txt stderr)
  set(rc "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

# The settings a header form would have stored: CR LF lines, the address and
# the soapbox with their markers, a name in UTF-8.
string(CONCAT settings
  "[Settings]\r\n"
  "Operators=Q1OWN Q1OPA\r\n"
  "Name=Ana Núñez\r\n"
  "Address=Calle Mayor 12<CR>Piso 3<LF>\r\n"
  "Address-City=Valencia\r\n"
  "Address-State=VC\r\n"
  "Address-PostalCode=46001\r\n"
  "Address-Country=Spain\r\n"
  "Email=ana@example.org\r\n"
  "Club=Radio Club Q1\r\n"
  "Location=DX\r\n"
  "SoapBox=Great fun, good conditions on 20 and 40 metres all weekend long<CR><LF>73!\r\n"
  "Claimed=0\r\n")

# Compares every file below two folders; the summary sheet may differ in its
# last line only, the date it was written on.
function(expect_same_files what with without)
  file(GLOB_RECURSE a RELATIVE ${with} ${with}/*)
  file(GLOB_RECURSE b RELATIVE ${without} ${without}/*)
  list(SORT a)
  list(SORT b)
  if(NOT a STREQUAL b)
    fail("${what}: the plug-in left other files with --cabrillo:\n${a}\nthan without:\n${b}")
    return()
  endif()
  if(a STREQUAL "")
    fail("${what}: the plug-in left no files")
  endif()
  foreach(name IN LISTS a)
    file(READ "${with}/${name}" x HEX)
    file(READ "${without}/${name}" y HEX)
    if(x STREQUAL y)
      continue()
    endif()
    if(name MATCHES "\\.sum$")
      file(READ "${with}/${name}" x)
      file(READ "${without}/${name}" y)
      set(date "[0-9][0-9]-[A-Z][a-z][a-z]-[0-9][0-9][0-9][0-9][\r\n]*$")
      string(REGEX REPLACE "${date}" "" x "${x}")
      string(REGEX REPLACE "${date}" "" y "${y}")
      if(x STREQUAL y)
        continue()
      endif()
    endif()
    fail("${what}: '${name}' differs with --cabrillo")
  endforeach()
endfunction()

function(check_cabrillo what file)
  execute_process(COMMAND ${CHECK} ${file}
      "CREATED-BY=stats-replay ${VERSION}"
      CONTEST=KOVA-BRAWLCUP CALLSIGN=Q1OWN LOCATION=DX
      CATEGORY-OPERATOR=SINGLE-OP CATEGORY-ASSISTED=NON-ASSISTED CATEGORY-BAND=ALL
      CATEGORY-MODE=DIGI CATEGORY-POWER=HIGH CATEGORY-STATION=FIXED
      CATEGORY-TRANSMITTER=ONE CLAIMED-SCORE=11240
      ${ARGN}
      --qso 305 --x-qso 3
    RESULT_VARIABLE code
    OUTPUT_VARIABLE problems
    ERROR_VARIABLE problems
    TIMEOUT 60)
  if(NOT code STREQUAL "0")
    fail("${what}: the Cabrillo log is not accepted:\n${problems}")
  endif()
endfunction()

set(with_settings
  "OPERATORS=Q1OWN Q1OPA" "NAME=Ana Nunez" "EMAIL=ana@example.org" "CLUB=Radio Club Q1"
  "ADDRESS+=Calle Mayor 12" "ADDRESS+=Piso 3" ADDRESS-CITY=Valencia
  ADDRESS-STATE-PROVINCE=VC ADDRESS-POSTALCODE=46001 ADDRESS-COUNTRY=Spain
  "SOAPBOX+=Great fun, good conditions on 20 and 40 metres all weekend long" "SOAPBOX+=73!")

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# With the settings a header form left, in a report run and in a plain one.
foreach(run report plain)
  set(flags)
  if(run STREQUAL "report")
    set(flags --report)
  endif()
  foreach(side with without)
    file(MAKE_DIRECTORY ${WORK_DIR}/${run}-${side}/Plugins)
    file(WRITE ${WORK_DIR}/${run}-${side}/Plugins/KOVA-BRAWLCUP.ini "${settings}")
  endforeach()
  replay(${flags} --out ${run}-without ${SAMPLE})
  set(out_without "${out}")
  set(err_without "${err}")
  # The Cabrillo name is taken from where the program starts, not from --out.
  replay(${flags} --out ${run}-with --cabrillo ${run}.log ${SAMPLE})
  if(NOT rc STREQUAL "0")
    fail("${run} run with --cabrillo: exit code ${rc}; stderr: ${err}")
  endif()
  if(NOT out STREQUAL out_without)
    fail("${run} run: --cabrillo changed what the program prints on stdout")
  endif()
  string(REPLACE "${run}-without" "${run}-with" err_expected "${err_without}")
  string(APPEND err_expected
    "stats-replay: Cabrillo log ${WORK_DIR}/${run}.log: 305 QSO lines, 3 X-QSO lines, claimed score 11240\n")
  if(NOT err STREQUAL err_expected)
    fail("${run} run: stderr with --cabrillo:\n${err}\nexpected:\n${err_expected}")
  endif()
  expect_same_files("${run} run" ${WORK_DIR}/${run}-with ${WORK_DIR}/${run}-without)
  check_cabrillo("${run} run" ${WORK_DIR}/${run}.log ${with_settings})
  if(EXISTS ${WORK_DIR}/${run}-with/${run}.log)
    fail("${run} run: the Cabrillo log went into the --out folder")
  endif()
endforeach()

# No Plugins folder: the plug-in cannot keep its settings, the header falls back
# to the form's defaults and the claimed score to the plug-in's score table.
replay(--out bare-without ${SAMPLE})
replay(--out bare-with --cabrillo ${WORK_DIR}/bare.log ${SAMPLE})
if(NOT rc STREQUAL "0")
  fail("run without settings: exit code ${rc}; stderr: ${err}")
endif()
expect_same_files("run without settings" ${WORK_DIR}/bare-with ${WORK_DIR}/bare-without)
check_cabrillo("run without settings" ${WORK_DIR}/bare.log OPERATORS=Q1OWN)
file(READ ${WORK_DIR}/bare.log bare)
if(bare MATCHES "NAME:|ADDRESS|SOAPBOX:|EMAIL:|CLUB:")
  fail("run without settings: header values from nowhere:\n${bare}")
endif()

# Names the plug-in writes itself are refused before anything is played.
foreach(name "err.txt" "RTTY.log" "PSK .log" "Q1OWN.sum" "Plugins/KOVA-BRAWLCUP.ini")
  file(REMOVE_RECURSE ${WORK_DIR}/clash)
  replay(--report --out clash --cabrillo "clash/${name}" ${SAMPLE})
  if(NOT rc STREQUAL "2" OR NOT err MATCHES "^stats-replay: --cabrillo .* names a file the plug-in writes itself")
    fail("--cabrillo 'clash/${name}': exit code ${rc}, stderr: ${err}")
  endif()
  if(EXISTS "${WORK_DIR}/clash/${name}" OR EXISTS "${WORK_DIR}/clash/err.txt")
    fail("--cabrillo 'clash/${name}' was refused but something was written")
  endif()
endforeach()

# A Cabrillo log that cannot be written: the replay is done, the exit code says
# the file is missing.
replay(--out unwritable --cabrillo ${WORK_DIR}/no-such-folder/x.log ${SAMPLE})
if(NOT rc STREQUAL "1" OR NOT err MATCHES "stats-replay: cannot write the Cabrillo log ")
  fail("an unwritable Cabrillo log: exit code ${rc}, stderr: ${err}")
endif()
if(NOT EXISTS ${WORK_DIR}/unwritable/err.txt)
  fail("an unwritable Cabrillo log: the replay itself should still have run")
endif()
