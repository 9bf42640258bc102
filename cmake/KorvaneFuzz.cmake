# libFuzzer builds: with KORVANE_FUZZ=ON and clang, everything is compiled with coverage
# feedback and the sanitizers, and fuzz/ builds its targets as libFuzzer programs
# (scripts/fuzz.sh). Otherwise fuzz/ builds the same targets as ordinary programs that run
# their seed corpus, as regression tests.
option(KORVANE_FUZZ "Build the fuzz targets as libFuzzer programs (clang only)" OFF)

set(KORVANE_LIBFUZZER OFF)
if(KORVANE_FUZZ)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(KORVANE_LIBFUZZER ON)
        add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                            -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
        add_link_options(-fsanitize=address,undefined)
    else()
        message(WARNING "KORVANE_FUZZ needs clang (CXX=clang++); the fuzz targets are built "
                        "as regression programs only")
    endif()
endif()
