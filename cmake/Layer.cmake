# One static library per folder of the layout: every .cpp directly in the folder is a source,
# every .cpp in its tests/ folder goes into one test program registered with CTest.
# Headers are included from the project root ("platform/rtl/SysUtils.h").
function(layer_library name)
  cmake_parse_arguments(L "" "" "DEPS;PRIVATE_DEPS;TEST_DEPS;EXCLUDE" ${ARGN})
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
  layer_tests(${name} ${CMAKE_CURRENT_SOURCE_DIR}/tests DEPS ${L_TEST_DEPS})
endfunction()

function(layer_tests name dir)
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  file(GLOB tsrcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT tsrcs OR NOT BUILD_TESTING)
    return()
  endif()
  add_executable(${name}_tests ${tsrcs})
  target_link_libraries(${name}_tests PRIVATE ${name} ${T_DEPS} GTest::gmock GTest::gtest_main)
  target_compile_options(${name}_tests PRIVATE ${RWB_WARNINGS})
  # The fixtures' folder is compiled in: the test properties below cannot carry a second
  # environment variable (discovery splits the list into property names).
  target_compile_definitions(${name}_tests PRIVATE RWB_TEST_DATA_DIR="${dir}/data")
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()
