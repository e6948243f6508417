# brivet_add_library(name DIR dir [EXCLUDE file-or-subfolder...] LIBS ...): one library target
# for all sources of a folder and its subfolders. Sources are globbed so that adding a file never
# needs a CMake edit; EXCLUDE names files or subfolders of the folder that belong to another
# target (an executable's main.cpp, a widget library on top of an engine).
function(brivet_add_library name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS;PUBLIC_LIBS;EXCLUDE" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*/*.cpp ${ARG_DIR}/*/*.h)
  foreach(_excluded ${ARG_EXCLUDE})
    if(IS_DIRECTORY ${ARG_DIR}/${_excluded})
      file(GLOB _owned CONFIGURE_DEPENDS ${ARG_DIR}/${_excluded}/*)
      if(_owned)
        list(REMOVE_ITEM _srcs ${_owned})
      endif()
    else()
      list(REMOVE_ITEM _srcs ${ARG_DIR}/${_excluded})
    endif()
  endforeach()
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${ARG_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_LIBS})
endfunction()

# brivet_add_tests(DIR dir LIBS ...): every *Test.cpp in dir becomes its own test executable,
# registered with CTest under the folder's name, with the check that no test leaves the
# environment changed.
function(brivet_add_tests)
  cmake_parse_arguments(ARG "" "DIR;PREFIX" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${ARG_DIR}/*Test.cpp)
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    set(_target ${ARG_PREFIX}_${_name})
    add_executable(${_target} ${_t} ${BRIVET_TEST_ENVIRONMENT_CHECK})
    target_link_libraries(${_target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${_target} PRIVATE
      BRIVET_TEST_DATA_DIR="${BRIVET_TEST_DATA_DIR}"
      BRIVET_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${ARG_PREFIX}.${_name} COMMAND ${_target})
    set_tests_properties(${ARG_PREFIX}.${_name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
  endforeach()
endfunction()
