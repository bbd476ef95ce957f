# Native Linux build: the portable logic with its POSIX parts, unit tests and benchmarks.
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_path(CJSON_INCLUDE_DIR cjson/cJSON.h REQUIRED)
find_library(CJSON_LIBRARY cjson REQUIRED)

target_link_libraries(orvane_view PUBLIC PNG::PNG ZLIB::ZLIB)
target_include_directories(orvane_app PUBLIC ${CMAKE_BINARY_DIR}/generated ${CJSON_INCLUDE_DIR})
target_link_libraries(orvane_app PUBLIC ${CJSON_LIBRARY})

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB ORVANE_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${ORVANE_UNIT_TESTS})
target_compile_options(unit_tests PRIVATE ${ORVANE_WARNINGS})
target_link_libraries(unit_tests PRIVATE orvane_app GTest::gtest GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE ORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

include(cmake/Fuzz.cmake)

find_package(benchmark QUIET)
if(benchmark_FOUND AND NOT ORVANE_SANITIZE)
  file(GLOB ORVANE_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
  foreach(b IN LISTS ORVANE_BENCHMARKS)
    get_filename_component(name ${b} NAME_WE)
    add_executable(${name} ${b})
    target_compile_options(${name} PRIVATE ${ORVANE_WARNINGS})
    target_link_libraries(${name} PRIVATE orvane_app benchmark::benchmark)
    # The stand-ins of the tests (a window that paints nothing, say) serve the benchmarks too.
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
  endforeach()
endif()
