# Common settings for the project's own targets.
function(vantor_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                             # GCC 12 reports false positives on std::optional of Qt types.
                                             $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
    if(VANTOR_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# vantor_library(name SOURCES ... PUBLIC ... PRIVATE ...): one static library per module; its
# public headers are included as "<module>/Header.h" from the repository root. A dependency is
# PUBLIC only when one of the library's headers includes a header of it; everything its sources
# alone include is PRIVATE, so a library above sees only what the headers it includes need.
function(vantor_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE;LIBS" ${ARGN})
    if(ARG_LIBS)
        message(FATAL_ERROR "vantor_library(${name}): name dependencies under PUBLIC or PRIVATE")
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    vantor_warnings(${name})
endfunction()

# vantor_tests(name SOURCES ... LIBS ...): a GoogleTest program registered with CTest.
function(vantor_tests name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vantor_testing GTest::gtest GTest::gmock)
    vantor_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
