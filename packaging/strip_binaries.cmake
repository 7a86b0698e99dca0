# Run by cpack on the staged files before it packs them: strips the programs
# as Debian's dh_strip does, the compiler's .comment and .note included.
file(GLOB_RECURSE _programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER _programs INCLUDE REGEX "/bin/[^/]+$")
foreach(_program IN LISTS _programs)
  execute_process(COMMAND "${CPACK_KORBISTO_STRIP}" --remove-section=.comment --remove-section=.note "${_program}"
    RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "${CPACK_KORBISTO_STRIP} ${_program} failed (${_result})")
  endif()
endforeach()
