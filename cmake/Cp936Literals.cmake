# add_cp936_literals(TARGET INPUT file.txt HEADER name.h NAMESPACE ns)
# Our texts are code page 936 bytes, but sources stay readable UTF-8: each
# line "kName text" of INPUT becomes a constant of code page 936 bytes in a
# generated header that TARGET can include as <literals/name.h>.
function(add_cp936_literals TARGET)
  cmake_parse_arguments(LIT "" "INPUT;HEADER;NAMESPACE" "" ${ARGN})
  set(input ${CMAKE_CURRENT_SOURCE_DIR}/${LIT_INPUT})
  set(output ${CMAKE_BINARY_DIR}/generated/literals/${LIT_HEADER})
  # The generator writes into this folder but does not make it.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/literals)
  add_custom_command(
    OUTPUT ${output}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/cp936_literals.py ${input} ${output} ${LIT_NAMESPACE}
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/cp936_literals.py
    COMMENT "Encoding ${LIT_INPUT} as code page 936")
  target_sources(${TARGET} PRIVATE ${output})
  target_include_directories(${TARGET} PUBLIC ${CMAKE_BINARY_DIR}/generated)
endfunction()
