# orvo_library(<target> SOURCES ... [DEPS ...])
#   One static library per folder; its folder's parent is on the include path so that
#   sources include "platform/registry/registry.h" style paths from the project root.
function(orvo_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# orvo_test(<name> SOURCES ... [DEPS ...] [QT])
#   A GoogleTest executable registered with CTest. With QT the test main creates an offscreen
#   QApplication first (for widgets, timers and queued calls).
function(orvo_test name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE orvo_testmain_qt ${ARG_DEPS})
  else()
    target_link_libraries(${name} PRIVATE orvo_testmain ${ARG_DEPS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVO_TEST=1")
endfunction()
