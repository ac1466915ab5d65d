# cmake -DEXIT_CODE=<n> -DOUTPUT=<regex> -P expect_exit.cmake -- <command> [<argument>...]
# Runs the command and passes only when it ends with exactly that exit code
# and its output matches the regular expression: a test that expects a
# failure then fails when the program under test never started, which would
# fail too, but with another code and without the program's own words.
set(command)
set(seen_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 1 ${last})
  if(seen_separator)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(seen_separator TRUE)
  endif()
endforeach()
if(NOT command)
  message(FATAL_ERROR "no command after --")
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT code STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "ended with '${code}', not with exit code ${EXIT_CODE}")
endif()
if(NOT output MATCHES "${OUTPUT}")
  message(FATAL_ERROR "ended with ${code} as expected, but its output does not match: ${OUTPUT}")
endif()
message(STATUS "ended with exit code ${code} and the expected output")
