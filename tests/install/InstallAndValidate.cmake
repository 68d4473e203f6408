# cmake -DBUILD_DIR=... -DPREFIX=... -P InstallAndValidate.cmake
# Installs the build into PREFIX and checks what a desktop would use.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(share "${PREFIX}/share")
foreach(path bin/quorvex share/quorvex/Quorvex.hlp
             share/applications/org.quorvex.Quorvex.desktop
             share/metainfo/org.quorvex.Quorvex.metainfo.xml
             share/mime/packages/org.quorvex.Quorvex.xml
             share/icons/hicolor/scalable/apps/org.quorvex.Quorvex.svg)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# The help file sits where the installed program looks for it: nothing of
# the build tree lies beside the installed program.
if(EXISTS "${PREFIX}/bin/Quorvex.hlp")
  message(FATAL_ERROR "the help file was installed beside the program")
endif()

function(run_check)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run_check(desktop-file-validate "${share}/applications/org.quorvex.Quorvex.desktop")
run_check(appstreamcli validate --no-net "${share}/metainfo/org.quorvex.Quorvex.metainfo.xml")
# The installed program runs with no display.
run_check("${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
          "${PREFIX}/bin/quorvex" --export "${PREFIX}/pattern.svg")
if(NOT EXISTS "${PREFIX}/pattern.svg")
  message(FATAL_ERROR "the installed program exported nothing")
endif()
file(REMOVE_RECURSE "${PREFIX}")
