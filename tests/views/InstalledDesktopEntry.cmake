# Installs the build into a scratch prefix and checks what a desktop reads from it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(entry ${PREFIX}/share/applications/com.quendo.Brivet.desktop)
foreach(file ${PREFIX}/bin/brivet ${entry} ${PREFIX}/share/icons/hicolor/scalable/apps/com.quendo.Brivet.svg)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Hints count too: a valid entry that draws any remark (two main categories, say) shows the
# application twice in some menus.
execute_process(COMMAND ${VALIDATE} ${entry} RESULT_VARIABLE valid OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT valid EQUAL 0 OR NOT report STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${report}")
endif()

file(STRINGS ${entry} lines)
foreach(expected "Icon=com.quendo.Brivet" "Exec=brivet" "Categories=Science;Literature;")
  list(FIND lines "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the entry lacks ${expected}")
  endif()
endforeach()
message(STATUS "installed and valid: ${entry}")
