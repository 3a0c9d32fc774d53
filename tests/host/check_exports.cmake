# cmake -DOBJDUMP=... -DDLL=... -P check_exports.cmake
# The DLL exports exactly the twenty names the host may look up, each plain
# name at the address of its decorated twin, and imports only system DLLs.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

set(pairs
  "AddData0=?AddData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z"
  "RemoveData0=?RemoveData0@@YAHPBD0PAVCOleDateTime@ATL@@111II000000000000000HHHNN00000@Z"
  "CheckCall0=?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z"
  "GetNumberOfSets=?GetNumberOfSets@@YAHXZ"
  "GetResult0=?GetResult0@@YAPBDPAH@Z"
  "GetSetName=?GetSetName@@YAPBDH@Z"
  "ResetStats0=?ResetStats0@@YAHPBDH0PAVCOleDateTime@ATL@@10000000000HHHNN000@Z"
  "SetupSet0=?SetupSet0@@YAXXZ"
  "GetExchgCount0=?StatsGetExchgCount0@@YAHPBD00@Z"
  "IsValidExchg0=?StatsIsValidExchg0@@YAHPBD000HHH@Z")

# Ordinal index -> address, from the export address table.
string(REGEX MATCHALL "\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] +[0-9a-f]+ Export RVA" rows "${dump}")
set(addresses "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\\[ *([0-9]+)\\].* ([0-9a-f]+) Export RVA$" "\\1=\\2" entry "${row}")
  list(APPEND addresses "${entry}")
endforeach()

# Name -> ordinal index, from the name table.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(.*)" table "${dump}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" names "${table}")
set(exported "")
foreach(n IN LISTS names)
  string(REGEX REPLACE "^\t\\[ *([0-9]+)\\] (.+)$" "\\2" name "${n}")
  string(REGEX REPLACE "^\t\\[ *([0-9]+)\\] (.+)$" "\\1" index "${n}")
  list(APPEND exported "${name}")
  set(index_of_${name} ${index})
endforeach()
list(LENGTH exported count)
if(NOT count EQUAL 20)
  message(FATAL_ERROR "expected 20 exports, found ${count}: ${exported}")
endif()

function(address_of name out)
  set(i ${index_of_${name}})
  foreach(a IN LISTS addresses)
    if(a MATCHES "^${i}=(.*)$")
      set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

foreach(pair IN LISTS pairs)
  string(FIND "${pair}" "=" eq)
  string(SUBSTRING "${pair}" 0 ${eq} plain)
  math(EXPR start "${eq} + 1")
  string(SUBSTRING "${pair}" ${start} -1 decorated)
  if(NOT DEFINED index_of_${plain})
    message(FATAL_ERROR "missing export ${plain}")
  endif()
  if(NOT DEFINED "index_of_${decorated}")
    message(FATAL_ERROR "missing export ${decorated}")
  endif()
  address_of(${plain} a1)
  address_of("${decorated}" a2)
  if(a1 STREQUAL "" OR NOT a1 STREQUAL a2)
    message(FATAL_ERROR "${plain} (${a1}) and ${decorated} (${a2}) are not one function")
  endif()
  message(STATUS "${plain} = ${decorated} at ${a1}")
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(i IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${i}")
  string(TOUPPER "${dll}" upper)
  if(NOT upper MATCHES "^(KERNEL32|USER32|GDI32|MSVCRT|OLE32|OLEAUT32|ADVAPI32)\\.DLL$")
    message(FATAL_ERROR "imports a DLL that is not part of Windows: ${dll}")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
