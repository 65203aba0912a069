# quenlor_library(NAME SOURCES... [DEPS libs...])
# A static library of one subsystem folder. Sources are listed by the caller or
# globbed from the folder (non-recursive) when none are given.
function(quenlor_library name)
  cmake_parse_arguments(QL "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT QL_SOURCES)
    file(GLOB QL_SOURCES CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  add_library(${name} STATIC ${QL_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${QL_DEPS})
endfunction()

# quenlor_test(NAME DEPS libs...) : one gtest executable from every *.cpp of
# the calling tests folder, registered with CTest test by test.
function(quenlor_test name)
  cmake_parse_arguments(QT "" "" "DEPS;SOURCES" ${ARGN})
  if(NOT QT_SOURCES)
    file(GLOB QT_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(${name} ${QT_SOURCES})
  target_link_libraries(${name} PRIVATE ${QT_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
