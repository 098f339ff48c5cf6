# Installs the build into a scratch prefix and checks that the desktop entry, the icon and the
# AppStream metainfo land in their XDG places and pass the freedesktop validators.
# -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" --component Unspecified
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(desktop "${PREFIX}/share/applications/org.tessarin.Tessarin.desktop")
set(metainfo "${PREFIX}/share/metainfo/org.tessarin.Tessarin.metainfo.xml")
foreach(path "${PREFIX}/bin/tessarin" "${desktop}" "${metainfo}"
             "${PREFIX}/share/icons/hicolor/scalable/apps/org.tessarin.Tessarin.svg")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

foreach(tool desktop-file-validate appstreamcli)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(FATAL_ERROR "${tool} is missing: scripts/setup installs it (desktop-file-utils, appstream)")
  endif()
endforeach()
execute_process(COMMAND "${found_desktop-file-validate}" "${desktop}" RESULT_VARIABLE valid OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(NOT valid EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND "${found_appstreamcli}" validate --no-net --pedantic "${metainfo}" RESULT_VARIABLE valid
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT valid EQUAL 0)
  message(FATAL_ERROR "appstreamcli: ${out}")
endif()
