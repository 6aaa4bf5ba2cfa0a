# pelmora_embed(TARGET target SYMBOL name FILE path)
# Links the bytes of FILE into TARGET as read-only data, reachable from C++ as
#   extern "C" const unsigned char name[], name_end[];
# Assembler .incbin keeps a 19 MB archive out of the compiler and off the heap:
# the bytes are mapped with the image and read in place.
function(pelmora_embed)
  cmake_parse_arguments(E "" "TARGET;SYMBOL;FILE" "" ${ARGN})
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/embed_${E_SYMBOL}.S)
  # i686 Windows C symbols carry a leading underscore.
  file(WRITE ${asm}.in
"    .section .rdata,\"dr\"
    .globl _${E_SYMBOL}
    .globl _${E_SYMBOL}_end
    .balign 16
_${E_SYMBOL}:
    .incbin \"${E_FILE}\"
_${E_SYMBOL}_end:
    .byte 0
")
  configure_file(${asm}.in ${asm} COPYONLY)
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${E_FILE} GENERATED TRUE)
  target_sources(${E_TARGET} PRIVATE ${asm})
endfunction()
