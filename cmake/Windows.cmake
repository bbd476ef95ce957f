# Windows x86-64 build: orvane.exe with resources and data files, and the Win32 test executable.
if(NOT ORVANE_MINGW_PREFIX)
  message(FATAL_ERROR "ORVANE_MINGW_PREFIX must name the prefix made by scripts/deps-mingw.sh")
endif()
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_library(mingw_cjson STATIC IMPORTED)
set_target_properties(mingw_cjson PROPERTIES IMPORTED_LOCATION ${ORVANE_MINGW_PREFIX}/lib/libcjson.a)
add_library(mingw_cjson_utils STATIC IMPORTED)
set_target_properties(mingw_cjson_utils PROPERTIES IMPORTED_LOCATION ${ORVANE_MINGW_PREFIX}/lib/libcjson_utils.a)
add_library(mingw_png STATIC IMPORTED)
set_target_properties(mingw_png PROPERTIES IMPORTED_LOCATION ${ORVANE_MINGW_PREFIX}/lib/libpng16.a)
find_library(MINGW_ZLIB NAMES libz.a z REQUIRED)

set(ORVANE_WIN32_SYSTEM_LIBS user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32 uuid shlwapi msimg32)
set(ORVANE_ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/src/app/shell/entry_win32.cpp)

target_link_libraries(orvane_platform PUBLIC ${ORVANE_WIN32_SYSTEM_LIBS})
target_include_directories(orvane_view PUBLIC ${ORVANE_MINGW_PREFIX}/include)
target_link_libraries(orvane_view PUBLIC mingw_png ${MINGW_ZLIB})
target_include_directories(orvane_app PUBLIC ${CMAKE_BINARY_DIR}/generated ${ORVANE_MINGW_PREFIX}/include)
# Everything links statically so the exe runs without MinGW's DLLs beside it.
target_link_options(orvane_text INTERFACE -static -static-libgcc -static-libstdc++)

# cJSON's public functions (and cJSON_Utils') are the exe's whole export table: link both
# archives whole so every exported function is present even when Orvane does not call it.
set(ORVANE_CJSON_WHOLE -Wl,--whole-archive ${ORVANE_MINGW_PREFIX}/lib/libcjson.a ${ORVANE_MINGW_PREFIX}/lib/libcjson_utils.a -Wl,--no-whole-archive)

if(EXISTS ${ORVANE_ENTRY_SOURCE})
  set(ORVANE_RESOURCES)
  if(EXISTS ${CMAKE_SOURCE_DIR}/res/orvane.rc)
    set(ORVANE_RESOURCES ${CMAKE_SOURCE_DIR}/res/orvane.rc)
  endif()
  add_executable(orvane WIN32 ${ORVANE_ENTRY_SOURCE} ${ORVANE_RESOURCES})
  target_compile_options(orvane PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${ORVANE_WARNINGS}>)
  target_link_options(orvane PRIVATE -municode)
  target_link_libraries(orvane PRIVATE orvane_app ${ORVANE_CJSON_WHOLE})
  # Data files sit next to the exe.
  add_custom_command(TARGET orvane POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR})
endif()

# GoogleTest from the sources Debian ships, built with the same toolchain.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB ORVANE_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(win32_tests ${ORVANE_WIN32_TESTS})
target_compile_options(win32_tests PRIVATE ${ORVANE_WARNINGS})
target_link_libraries(win32_tests PRIVATE orvane_app ${ORVANE_CJSON_WHOLE} gtest gtest_main)
# The portable stand-ins the native tests use too (failing save steps).
target_include_directories(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
# A library the tests plant in the current folder, to see that it is not loaded by name.
add_library(planted_library SHARED ${CMAKE_SOURCE_DIR}/tests/win32/planted_library.c)
set_target_properties(planted_library PROPERTIES PREFIX "")
target_link_options(planted_library PRIVATE -static-libgcc)
add_dependencies(win32_tests planted_library)

# Reads window texts for the end-to-end scenarios.
add_executable(e2e_probe ${CMAKE_SOURCE_DIR}/tests/e2e/probe_win32.cpp)
target_compile_options(e2e_probe PRIVATE ${ORVANE_WARNINGS})
target_link_options(e2e_probe PRIVATE -municode -static)

# The skin and the other data files sit next to the test executable too.
add_custom_command(TARGET win32_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR})
