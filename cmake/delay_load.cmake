# System DLLs that the screensaver's run mode never needs are delay-loaded:
# each is loaded from the system folder on the first call into it, so the
# run mode starts with kernel32, advapi32 and the C runtime only.
#
# marrowdale_delay_load(<out-var> <dll>...): makes a delay-import library per
# DLL from the toolchain's import library and gives their paths, to be linked
# before the toolchain's own import libraries.
function(marrowdale_delay_load out_var)
  find_program(MARROWDALE_DLLTOOL ${MINGW_TRIPLE}-dlltool REQUIRED)
  find_program(MARROWDALE_NM ${MINGW_TRIPLE}-nm REQUIRED)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(machine i386:x86-64)
  else()
    set(machine i386)
  endif()
  set(libraries)
  foreach(dll IN LISTS ARGN)
    set(import_lib ${CMAKE_FIND_ROOT_PATH}/lib/lib${dll}.a)
    if(NOT EXISTS ${import_lib})
      message(FATAL_ERROR "no import library for ${dll}: ${import_lib}")
    endif()
    set(output ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_load
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-delay-import-lib.sh ${MARROWDALE_NM} ${MARROWDALE_DLLTOOL}
              ${machine} ${import_lib} ${dll}.dll ${output}
      DEPENDS ${import_lib} ${CMAKE_SOURCE_DIR}/scripts/make-delay-import-lib.sh
      VERBATIM)
    list(APPEND libraries ${output})
  endforeach()
  add_custom_target(delay_import_libraries DEPENDS ${libraries})
  set(${out_var} ${libraries} PARENT_SCOPE)
endfunction()
