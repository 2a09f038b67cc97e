# Small helpers shared by every folder's CMakeLists.txt.

# Adds a folder when it already has a CMakeLists.txt, so modules can land one by one.
function(zq_add_optional_subdirectory dir)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_BINARY_DIR}/${dir})
  endif()
endfunction()

# zq_add_gtest(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2] [TEST_PREFIX p/])
# One GoogleTest executable; every TEST becomes its own CTest test.
function(zq_add_gtest)
  cmake_parse_arguments(ARG "" "NAME;TEST_PREFIX" "SOURCES;LIBS;LABELS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # gtest_discover_tests splits every list it is given into separate arguments, so each
  # property must be one word: the labels become one label joined by "," (ctest -L takes
  # a regular expression, so -L server still finds "linking,server").
  set(props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABELS)
    string(JOIN "," label ${ARG_LABELS})
    list(APPEND props LABELS "${label}")
  endif()
  # A second build of the same sources needs TEST_PREFIX: CTest keys test properties
  # (labels among them) by name, so two executables with equal test names would share
  # one set of labels.
  set(prefix)
  if(ARG_TEST_PREFIX)
    set(prefix TEST_PREFIX "${ARG_TEST_PREFIX}")
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       ${prefix} PROPERTIES ${props})
endfunction()
