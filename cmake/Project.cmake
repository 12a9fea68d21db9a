# Shared build settings and the helpers every CMakeLists.txt uses.

option(SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(PROJECT_WARNINGS -Wall -Wextra)

if(WIN32)
    # Every .exe runs on a bare system: no runtime DLL beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
    set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)
    set(WINRUN ${CMAKE_SOURCE_DIR}/tools/winrun.sh --state ${WINE_STATE})
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINRUN})
elseif(SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest from Debian's source package, built with this configuration's compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Our code compiles without warnings.
function(project_warnings target)
    target_compile_options(${target} PRIVATE ${PROJECT_WARNINGS})
endfunction()

# A test passes only when it printed its own success line: under Wine a
# process killed from outside reports exit code 0.
set(TEST_SUCCESS_LINE "ALL TESTS PASSED")

# add_gtest(NAME SOURCES... [LIBS libs...] [LABELS labels...] [TIMEOUT s])
# One executable per area; it runs as one CTest test (natively, or under Wine).
function(add_gtest name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    project_warnings(${name})
    target_link_libraries(${name} PRIVATE test_main ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        PASS_REGULAR_EXPRESSION "${TEST_SUCCESS_LINE}"
        FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
        TIMEOUT ${T_TIMEOUT}
        LABELS "${T_LABELS}")
    if(WIN32)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
endfunction()

# Release builds ship without symbols.
add_link_options($<$<AND:$<BOOL:${WIN32}>,$<CONFIG:Release>>:-s>)

# add_bench(NAME SOURCES... [LIBS libs...])
# A benchmark prints figures and never fails on time: it is built with
# everything else but is not a test; tools/bench.sh runs them all.
function(add_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    project_warnings(${name})
    target_link_libraries(${name} PRIVATE ${B_LIBS})
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt: each is
# one area of tests or benchmarks, picked up without a list to keep.
function(add_area_subdirectories)
    file(GLOB areas LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(area ${areas})
        if(EXISTS ${area}/CMakeLists.txt)
            add_subdirectory(${area})
        endif()
    endforeach()
endfunction()
