# The real-display suite: test programs that run on an X server of their own (Xvfb, through
# scripts/display-run) on Qt's xcb platform and are driven by input through the server.
# display_tests(name DIR dir DEPS ... [WM_FILTER pattern] [COMPOSITOR_FILTER pattern] [LABEL label])
# makes the program from dir's .cpp files and registers it under the label "display" (or LABEL);
# with WM_FILTER, the cases that match run once more under a window manager, with
# COMPOSITOR_FILTER under a compositing manager. A program that cannot have its display ends with
# 77: skipped.
function(display_tests name)
  cmake_parse_arguments(D "" "DIR;WM_FILTER;COMPOSITOR_FILTER;LABEL" "DEPS" ${ARGN})
  if(NOT D_LABEL)
    set(D_LABEL display)
  endif()
  if(NOT BUILD_TESTING OR NOT TARGET platform_qt_display)
    return()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${D_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${D_DEPS} platform_qt_display GTest::gmock GTest::gtest)
  link_backend(${name} qt TESTING)
  target_compile_options(${name} PRIVATE ${RWB_WARNINGS})
  set(run ${PROJECT_SOURCE_DIR}/scripts/display-run)
  add_test(NAME ${name} COMMAND ${run} $<TARGET_FILE:${name}>)
  set(tests ${name})
  if(D_WM_FILTER)
    add_test(NAME ${name}_wm COMMAND ${run} --wm $<TARGET_FILE:${name}> --gtest_filter=${D_WM_FILTER})
    list(APPEND tests ${name}_wm)
  endif()
  if(D_COMPOSITOR_FILTER)
    add_test(NAME ${name}_compositor COMMAND ${run} --compositor $<TARGET_FILE:${name}> --gtest_filter=${D_COMPOSITOR_FILTER})
    list(APPEND tests ${name}_compositor)
  endif()
  set_tests_properties(${tests} PROPERTIES LABELS ${D_LABEL} SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
