# tilemond_add_test(NAME [MAIN file] LIBS ...): one GoogleTest executable per test folder, made of
# every .cpp in it. Every test runs on Qt's offscreen platform, so no display is needed, unless
# its own MAIN provides another. SERIAL tests run with no other test beside them (windows under a
# window manager whose timing suffers on loaded cores).
function(tilemond_add_test name)
  cmake_parse_arguments(ARG "SERIAL" "MAIN" "LIBS" ${ARGN})
  if(NOT ARG_MAIN)
    set(ARG_MAIN ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(REMOVE_ITEM sources ${ARG_MAIN})
  add_executable(${name} ${sources} ${ARG_MAIN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # An absolute path: __FILE__ may be relative (ccache's base_dir), and tests run in their own folder.
  target_compile_definitions(${name} PRIVATE TILEMOND_PICTURES="${PROJECT_SOURCE_DIR}/tests/data/pictures")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Qt6::Widgets Qt6::Test)
  set(serial FALSE)
  if(ARG_SERIAL)
    set(serial TRUE)
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RUN_SERIAL ${serial}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST)
endfunction()
