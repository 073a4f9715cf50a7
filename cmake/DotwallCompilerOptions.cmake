# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(DOTWALL_WERROR)
    add_compile_options(-Werror)
endif()

# Release optimized as Debian builds its packages, -O2 (GCC 12's -O3 also warns falsely of
# overlapping copies inside std::string, its bug 105329).
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

# Debian's hardening for what users run: stack guards, checked string and memory calls where
# the optimizer can see their sizes, and the relocations read-only before the program starts.
# The sanitizers guard the same and more in their own builds.
if(NOT DOTWALL_SANITIZE AND NOT DOTWALL_FUZZ)
    add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro,-z,now)
endif()

# Fuzzing builds are checked by the same sanitizers.
if(DOTWALL_SANITIZE OR DOTWALL_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
# libFuzzer's coverage instrumentation everywhere; only the fuzzer programs link libFuzzer
# itself (fuzz/CMakeLists.txt).
if(DOTWALL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Shared libraries and programs resolve their own folder first, so the outside
# libraries built beside them are found without installing them.
set(CMAKE_BUILD_WITH_INSTALL_RPATH OFF)

# The sanitizers intercept dlopen, so their runtime becomes its caller, and the loader
# searches only the caller's RUNPATH but the program's RPATH for every caller. The sanitizer
# build therefore writes RPATH, so its programs and tests still find the outside libraries
# beside them by file name (there LD_LIBRARY_PATH no longer comes first).
if(DOTWALL_SANITIZE)
    add_link_options(-Wl,--disable-new-dtags)
endif()
