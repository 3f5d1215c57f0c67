# Settings every target of the project links: language level, warnings, Qt strictness.
add_library(memo_settings INTERFACE)
target_compile_features(memo_settings INTERFACE cxx_std_20)
target_compile_options(memo_settings INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(memo_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
    QT_DISABLE_DEPRECATED_UP_TO=0x060000)

option(MEMO_WERROR "Treat warnings as errors" OFF)
if(MEMO_WERROR)
    target_compile_options(memo_settings INTERFACE -Werror)
endif()

# The fuzz preset (clang): every library instrumented for libFuzzer's coverage and checked by ASan
# and UBSan; the fuzz targets in fuzz/ link libFuzzer itself. With clang the sanitizer runtimes live
# in the executable, so shared libraries are linked with their sanitizer symbols left open.
option(MEMO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(MEMO_NO_UNDEFINED -Wl,--no-undefined)
if(MEMO_FUZZ)
    target_compile_options(memo_settings INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(memo_settings INTERFACE -fsanitize=address,undefined)
    set(MEMO_NO_UNDEFINED)
endif()

option(MEMO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(MEMO_SANITIZE)
    target_compile_options(memo_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(memo_settings INTERFACE -fsanitize=address,undefined)
endif()

# memo_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [RUNNER script.sh])
# One executable per class or dialog, registered with CTest, run offscreen with a fixed locale and
# private data folders so that no test touches the user's own files. A RUNNER script starts the
# program itself (in a private X server, say) and sets the platform; its exit code 77 skips.
function(memo_add_test name)
    cmake_parse_arguments(T "" "RUNNER" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE memo_settings memo_text Qt6::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    set(platform "QT_QPA_PLATFORM=offscreen;")
    if(T_RUNNER)
        add_test(NAME ${name} COMMAND bash ${T_RUNNER} $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
        set(platform "")
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "${platform}LANG=C.UTF-8;LC_ALL=C.UTF-8;HOME=${home};XDG_DATA_HOME=${home}/data;XDG_CONFIG_HOME=${home}/config;XDG_RUNTIME_DIR=${home}/runtime;QT_ASSUME_STDERR_HAS_CONSOLE=1;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
