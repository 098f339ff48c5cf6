# Helpers that give every layer, test and tool the same shape: one static library per
# folder, warnings private to our own targets, Qt string strictness on Qt targets.

set(TESSARIN_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)

function(tessarin_warnings target)
  target_compile_options(${target} PRIVATE ${TESSARIN_WARNINGS})
endfunction()

function(tessarin_qt_strict target)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()

# tessarin_layer(NAME [QT] [PUBLIC deps...] [PRIVATE deps...])
# Every .cpp and .hpp of the calling folder belongs to the layer.
function(tessarin_layer name)
  cmake_parse_arguments(ARG "QT" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.hpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(compiled ${sources})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(NOT compiled)
    # A layer that has only headers so far: keep the target so that others can link it.
    add_library(${name} INTERFACE ${sources})
    add_library(Tessarin::${name} ALIAS ${name})
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC} ${ARG_PRIVATE})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  add_library(Tessarin::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  tessarin_warnings(${name})
  if(ARG_QT)
    tessarin_qt_strict(${name})
  endif()
endfunction()

# tessarin_tests(NAME LABEL label [QT] LIBS deps...)
# One executable per test folder, every .cpp in it, discovered into ctest.
function(tessarin_tests name)
  cmake_parse_arguments(ARG "QT" "LABEL" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.hpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} TestSupport GTest::gmock GTest::gtest_main)
  tessarin_warnings(${name})
  if(ARG_QT)
    tessarin_qt_strict(${name})
  endif()
  gtest_discover_tests(${name}
    PROPERTIES LABELS "${ARG_LABEL}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
