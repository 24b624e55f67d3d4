# Sanitizer and fuzzing builds.
#
# CLAVIMO_SANITIZE: a comma-separated list handed to -fsanitize= for every target of the
# build, e.g. "address,undefined". Any finding stops the program (no recovery), so that a
# test with a finding fails.
#
# CLAVIMO_FUZZ: builds only the widget-free game library and the libFuzzer targets of
# tests/fuzz (clang only). The library is instrumented for the fuzzer without its main,
# the targets link the fuzzer; both run under AddressSanitizer and UndefinedBehaviorSanitizer.

set(CLAVIMO_SANITIZE "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
option(CLAVIMO_FUZZ "Build only the game library and the libFuzzer targets (clang)" OFF)

if(CLAVIMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CLAVIMO_FUZZ needs clang (libFuzzer); set CMAKE_CXX_COMPILER=clang++")
  endif()
  if(NOT CLAVIMO_SANITIZE)
    set(CLAVIMO_SANITIZE "address,undefined")
  endif()
  # Coverage feedback for the code under test; the targets add the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
  set(CLAVIMO_FUZZ_ENGINE_FLAGS -fsanitize=fuzzer,${CLAVIMO_SANITIZE})
endif()

if(CLAVIMO_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "CLAVIMO_SANITIZE is for gcc and clang")
  endif()
  add_compile_options(-fsanitize=${CLAVIMO_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${CLAVIMO_SANITIZE})
endif()
