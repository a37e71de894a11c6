# Helpers shared by the CMake files of the layers, tests and benchmarks.

# zorvik_layer(<name> [PUBLIC <targets>...] [PRIVATE <targets>...])
# One static library per source folder: every .cpp and .h in the folder belongs to it.
# PUBLIC: what the folder's headers expose to whoever includes them;
# PRIVATE: what only its sources need.
function(zorvik_layer name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC zorvik_common ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# zorvik_tests(LIBS <targets>... [GUI])
# One test program per test_*.cpp in the calling folder, each registered with ctest.
# GUI tests get a QApplication on the offscreen platform before their tests run.
function(zorvik_tests)
  cmake_parse_arguments(ARG "GUI" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(src ${tests})
    get_filename_component(base ${src} NAME_WE)
    set(target ${folder}_${base})
    add_executable(${target} ${src} ${ARG_SOURCES})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
    if(ARG_GUI)
      target_link_libraries(${target} PRIVATE zorvik_testsupport_gui ${ARG_LIBS})
    else()
      target_link_libraries(${target} PRIVATE zorvik_testsupport ${ARG_LIBS})
    endif()
    add_test(NAME ${folder}.${base} COMMAND ${target})
    set_tests_properties(${folder}.${base} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZORVIK_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZORVIK_BIN_DIR=${ZORVIK_BIN_DIR}"
      TIMEOUT 300)
  endforeach()
endfunction()

# zorvik_file_version(<target>)
# Embeds the file version ZORVIK_FILE_VERSION into the program as its version note.
function(zorvik_file_version target)
  list(LENGTH ZORVIK_FILE_VERSION count)
  if(NOT count EQUAL 4)
    message(FATAL_ERROR "ZORVIK_FILE_VERSION needs four numbers, not '${ZORVIK_FILE_VERSION}'")
  endif()
  list(GET ZORVIK_FILE_VERSION 0 ZV_MAJOR)
  list(GET ZORVIK_FILE_VERSION 1 ZV_MINOR)
  list(GET ZORVIK_FILE_VERSION 2 ZV_RELEASE)
  list(GET ZORVIK_FILE_VERSION 3 ZV_BUILD)
  foreach(n ${ZORVIK_FILE_VERSION})
    if(NOT n MATCHES "^[0-9]+$" OR n GREATER 65535)
      message(FATAL_ERROR "ZORVIK_FILE_VERSION: '${n}' is not a number from 0 to 65535")
    endif()
  endforeach()
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_versionnote.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/versionnote.cpp.in ${generated} @ONLY)
  target_sources(${target} PRIVATE ${generated})
  target_link_libraries(${target} PRIVATE platform)
endfunction()
