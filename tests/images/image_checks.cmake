# Checks a built program image without running it, so it runs for every
# architecture on every machine, also where the image itself cannot run:
#   cmake -DOBJDUMP=... -DIMAGE=... -DARCH=i686|x86_64 -DSUBSYSTEM=gui|console
#         [-DSTRIPPED=ON] -P image_checks.cmake
# - the architecture: a PE32 image for i686, PE32+ for x86_64;
# - the subsystem: a window program or a console program as intended;
# - imports from Windows system DLLs only (everything else is linked
#   statically, so the program runs from a single file);
# - with STRIPPED, no debug sections (the shipped installer).
cmake_minimum_required(VERSION 3.20)
# objdump speaks the locale's language; the patterns below are its English.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p -h ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT dump MATCHES "\\.text")
  message(FATAL_ERROR "cannot read ${IMAGE}")
endif()

set(problems "")
if(ARCH STREQUAL "i686")
  set(format "pei-i386")
  set(magic "010b")
elseif(ARCH STREQUAL "x86_64")
  set(format "pei-x86-64")
  set(magic "020b")
else()
  message(FATAL_ERROR "unknown ARCH '${ARCH}'")
endif()
if(NOT dump MATCHES "file format ${format}")
  string(REGEX MATCH "file format [^\n]*" seen "${dump}")
  list(APPEND problems "not a ${format} image (${seen})")
endif()
if(NOT dump MATCHES "Magic[ \t]+${magic}")
  list(APPEND problems "the optional header's magic is not ${magic}")
endif()

if(SUBSYSTEM STREQUAL "gui")
  set(subsystem "00000002")
elseif(SUBSYSTEM STREQUAL "console")
  set(subsystem "00000003")
else()
  message(FATAL_ERROR "unknown SUBSYSTEM '${SUBSYSTEM}'")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+${subsystem}")
  string(REGEX MATCH "Subsystem[ \t]+[0-9a-fA-F]+[^\n]*" seen "${dump}")
  list(APPEND problems "not a ${SUBSYSTEM} program (${seen})")
endif()

set(system_dlls advapi32 comctl32 comdlg32 gdi32 gdiplus imm32 kernel32 msimg32 msvcrt ole32 oleaut32 shell32
    shlwapi user32 uxtheme version windowscodecs winmm)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  list(APPEND problems "no imports found")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^ \t\r]+).*" "\\1" dll "${line}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" name "${dll}")
  if(NOT name IN_LIST system_dlls AND NOT name MATCHES "^api-ms-win-")
    list(APPEND problems "imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()

if(STRIPPED)
  string(REGEX MATCHALL "\\.debug_[a-z_]+" debug "${dump}")
  if(debug)
    list(REMOVE_DUPLICATES debug)
    list(JOIN debug ", " debug)
    list(APPEND problems "carries debug sections: ${debug}")
  endif()
endif()

if(problems)
  string(REPLACE ";" "\n  " problems "${problems}")
  message(FATAL_ERROR "${IMAGE}:\n  ${problems}")
endif()
set(stripped_text "")
if(STRIPPED)
  set(stripped_text ", no debug sections")
endif()
message(STATUS "${IMAGE}: ${format}, ${SUBSYSTEM} program, system imports only${stripped_text}")
