# cmake -DFILE=<path> -DLIMIT=<bytes> -P check_size.cmake
# Fails when the file is larger than the limit (or missing).
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "no file to measure: '${FILE}'")
endif()
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
  # The figures first: CMake wraps a long message, and the path may be long.
  message(FATAL_ERROR "${size} bytes, over the limit of ${LIMIT}: ${FILE}")
endif()
message(STATUS "${FILE}: ${size} bytes, limit ${LIMIT}")
