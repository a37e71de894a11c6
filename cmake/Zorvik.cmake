# Helpers shared by the CMake files of the layers, tests and benchmarks.

# zorvik_layer(<name> [DEPS <targets>...])
# One static library per source folder: every .cpp and .h in the folder belongs to it.
function(zorvik_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC zorvik_common ${ARG_DEPS})
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
