# One static library per folder, made of every source file in it.
# Usage: quillon_library(<name> [QT] DEPS <libs...>)
function(quillon_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(ARG_QT)
    set(CMAKE_AUTOMOC ON)
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# A test program made of every source file in the current folder, registered with ctest.
# Usage: quillon_tests(<name> DEPS <libs...>)
function(quillon_tests name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(ARG_QT)
    set(CMAKE_AUTOMOC ON)
    # Qt tests share one application object for the whole run.
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/support/QtTestEnvironment.cpp)
  endif()
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
  target_compile_definitions(${name} PRIVATE
    QUILLON_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUILLON_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
