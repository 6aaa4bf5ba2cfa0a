# pelmora_embed(TARGET target SYMBOL name FILE path)
# Links the bytes of FILE into TARGET as read-only data, reachable from C++ as
#   extern "C" const unsigned char name[], name_end[];
# Assembler .incbin keeps a 19 MB archive out of the compiler and off the heap:
# the bytes are mapped with the image and read in place.
function(pelmora_embed)
  cmake_parse_arguments(E "" "TARGET;SYMBOL;FILE" "" ${ARGN})
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/embed_${E_SYMBOL}.S)
  # C symbols carry a leading underscore on i686 Windows and none on x86_64.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(sym _${E_SYMBOL})
  else()
    set(sym ${E_SYMBOL})
  endif()
  file(WRITE ${asm}.in
"    .section .rdata,\"dr\"
    .globl ${sym}
    .globl ${sym}_end
    .balign 16
${sym}:
    .incbin \"${E_FILE}\"
${sym}_end:
    .byte 0
")
  configure_file(${asm}.in ${asm} COPYONLY)
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${E_FILE} GENERATED TRUE)
  target_sources(${E_TARGET} PRIVATE ${asm})
endfunction()
