# Read by cpack for each generator. A Debian package that replaces its own
# program file behind dpkg's back is refused; configure the package build
# with --preset package (KORBISTO_SELF_UPDATE=OFF). CPACK_KORBISTO_TRIAL=ON
# makes one anyway, for a test that only looks at the package metadata.
if(CPACK_GENERATOR STREQUAL "DEB" AND CPACK_KORBISTO_SELF_UPDATE AND NOT CPACK_KORBISTO_TRIAL)
  message(FATAL_ERROR "This build updates itself (KORBISTO_SELF_UPDATE=ON); a Debian package must not. "
    "Build it with: cmake --preset package && cmake --build --preset package && cpack --preset package")
endif()
