# Run by cmake --install (install(SCRIPT)) after the desktop entry and the
# file types: refreshes the caches a desktop reads them from, so that a .krsc
# is a Korbisto-Spielschein at once. Only for an install into a prefix; a
# staged one (DESTDIR) is a package's, whose manager runs these itself.
if("$ENV{DESTDIR}" STREQUAL "")
  cmake_path(ABSOLUTE_PATH KORBISTO_INSTALL_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
    NORMALIZE OUTPUT_VARIABLE _share)
  set(_tools update-mime-database update-desktop-database)
  set(_folders mime applications)
  set(_packages shared-mime-info desktop-file-utils)
  foreach(_tool _folder _package IN ZIP_LISTS _tools _folders _packages)
    find_program(_command ${_tool})
    if(_command)
      execute_process(COMMAND "${_command}" "${_share}/${_folder}" RESULT_VARIABLE _result)
      if(_result EQUAL 0)
        message(STATUS "Refreshed: ${_share}/${_folder}")
      else()
        message(WARNING "${_tool} ${_share}/${_folder} failed (${_result})")
      endif()
    else()
      message(STATUS "${_tool} is missing (package ${_package}): run \"${_tool} ${_share}/${_folder}\" once it is there")
    endif()
    unset(_command CACHE)
    unset(_command)
  endforeach()
endif()
