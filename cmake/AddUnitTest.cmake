# add_unit_test(NAME SOURCES file... DEPS target... [LABELS label...])
# One GoogleTest executable registered with CTest, run from the folder that
# holds the program so tests find the speech library as the program does.
function(add_unit_test NAME)
  cmake_parse_arguments(TEST "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${NAME} ${TEST_SOURCES})
  target_link_libraries(${NAME} PRIVATE ${TEST_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${NAME} COMMAND ${NAME} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${NAME} PROPERTIES TIMEOUT 600)
  if(TEST_LABELS)
    set_tests_properties(${NAME} PROPERTIES LABELS "${TEST_LABELS}")
  endif()
endfunction()
