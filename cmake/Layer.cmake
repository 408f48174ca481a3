# One static library per folder of the layout: every .cpp directly in the folder is a source,
# every .cpp in its tests/ folder goes into one test program registered with CTest.
# Headers are included from the project root ("platform/rtl/SysUtils.h"). A test program also
# links the test support of the layers it is built on (each layer's testing/ folder).
#
# A program built on the UI library runs on the backend it links: link_backend(target qt|fake).
# Test programs of such a library link the Qt backend unless TEST_BACKEND names another.
function(layer_library name)
  cmake_parse_arguments(L "" "TEST_BACKEND" "DEPS;PRIVATE_DEPS;TEST_DEPS;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex IN LISTS L_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(NOT srcs)
    # A folder whose sources have not landed yet still names a target others can link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  target_compile_options(${name} PRIVATE ${RWB_WARNINGS})
  layer_tests(${name} ${CMAKE_CURRENT_SOURCE_DIR}/tests DEPS ${L_TEST_DEPS} BACKEND ${L_TEST_BACKEND})
endfunction()

# The backend a program runs on: qt (the desktop's, through Qt) or fake (the tests' own, without
# Qt). TESTING: a test program, which also links the backend's test driver.
function(link_backend target kind)
  cmake_parse_arguments(B "TESTING" "" "" ${ARGN})
  if(kind STREQUAL "qt")
    target_link_libraries(${target} PRIVATE platform_qt_backend)
    if(B_TESTING)
      target_link_libraries(${target} PRIVATE platform_qt_testing)
    endif()
  elseif(kind STREQUAL "fake")
    target_link_libraries(${target} PRIVATE platform_ui_fake)
  else()
    message(FATAL_ERROR "${target}: no backend named '${kind}' (qt or fake)")
  endif()
endfunction()

# A layer's test support: every .cpp of the folder's testing/ (or DIR) in one library the test
# programs link. TYPE OBJECT for a backend's part, whose objects must always go into the program.
function(layer_test_support name)
  cmake_parse_arguments(S "" "TYPE;DIR" "DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT S_DIR)
    set(S_DIR testing)
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${S_DIR}/*.cpp)
  if(NOT S_TYPE)
    set(S_TYPE STATIC)
  endif()
  add_library(${name} ${S_TYPE} ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${S_DEPS} PRIVATE ${S_PRIVATE_DEPS})
  target_compile_options(${name} PRIVATE ${RWB_WARNINGS})
endfunction()

# Whether target is built on the UI library (it or anything it links links platform_ui).
function(_layer_uses_ui target out)
  set(${out} FALSE PARENT_SCOPE)
  if(target STREQUAL "platform_ui")
    set(${out} TRUE PARENT_SCOPE)
    return()
  endif()
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(deps ${target} INTERFACE_LINK_LIBRARIES)
  if(NOT deps)
    return()
  endif()
  foreach(dep IN LISTS deps)
    _layer_uses_ui(${dep} uses)
    if(uses)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# The test program of library `name` from the .cpp files of dir: <name>_tests, or PROGRAM.
function(layer_tests name dir)
  cmake_parse_arguments(T "" "BACKEND;PROGRAM" "DEPS" ${ARGN})
  file(GLOB tsrcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT tsrcs OR NOT BUILD_TESTING)
    return()
  endif()
  if(T_PROGRAM)
    set(prog ${T_PROGRAM})
  else()
    set(prog ${name}_tests)
  endif()
  add_executable(${prog} ${tsrcs})
  target_link_libraries(${prog} PRIVATE ${name} ${T_DEPS} platform_rtl_testing GTest::gmock GTest::gtest_main)
  _layer_uses_ui(${name} uses_ui)
  if(uses_ui)
    target_link_libraries(${prog} PRIVATE platform_ui_testing)
    if(NOT T_BACKEND)
      set(T_BACKEND qt)
    endif()
  endif()
  if(T_BACKEND)
    link_backend(${prog} ${T_BACKEND} TESTING)
  endif()
  target_compile_options(${prog} PRIVATE ${RWB_WARNINGS})
  # The fixtures' folder is compiled in: the test properties below cannot carry a second
  # environment variable (discovery splits the list into property names).
  target_compile_definitions(${prog} PRIVATE RWB_TEST_DATA_DIR="${dir}/data")
  if(RWB_TEST_EACH_CASE)
    gtest_discover_tests(${prog}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                 TIMEOUT 300)
  else()
    # The whole program in one process: starting a process costs more than most cases take,
    # many times more under the sanitizers. Its output names any case that fails.
    add_test(NAME ${prog} COMMAND ${prog})
    # The larger programs start first, so ctest -j ends with the short ones (a clean tree has no
    # times of its own yet): their size in sources stands in for their time.
    list(LENGTH tsrcs cost)
    set_tests_properties(${prog} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600 COST ${cost})
  endif()
endfunction()
