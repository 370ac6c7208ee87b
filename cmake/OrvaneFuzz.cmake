# The fuzz configuration: everything is built with coverage and the sanitizers, so that the
# fuzzer sees inside every parser, also inside a bundle a target loads, and any fault stops it.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=vptr
                    -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)

# orvane_fuzz_target(<target> SEEDS <folder> [RUNS <n>] [MAX_LEN <bytes>])
# Makes <target> (an executable defining LLVMFuzzerTestOneInput) a libFuzzer target with its
# seed folder: a short deterministic run from the seeds in CTest, so that it stays working,
# and an entry in the build's fuzz_targets.txt, from which tools/test.sh fuzzes every target
# for a bounded time. The seed folder is only read: what the fuzzer finds goes to a corpus
# folder in the build.
function(orvane_fuzz_target target)
  cmake_parse_arguments(FUZZ "" "SEEDS;RUNS;MAX_LEN" "" ${ARGN})
  if(NOT FUZZ_RUNS)
    set(FUZZ_RUNS 3000)
  endif()
  if(NOT FUZZ_MAX_LEN)
    set(FUZZ_MAX_LEN 4096)
  endif()
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${target}.corpus)
  file(MAKE_DIRECTORY ${corpus})
  orvane_test_prefix(prefix)
  add_test(NAME ${prefix}${target}.smoke
           COMMAND ${target} -runs=${FUZZ_RUNS} -seed=1 -max_len=${FUZZ_MAX_LEN} ${corpus}
                   ${FUZZ_SEEDS})
  set_property(GLOBAL APPEND PROPERTY ORVANE_FUZZ_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY ORVANE_FUZZ_MANIFEST
               "$<TARGET_FILE:${target}> ${FUZZ_MAX_LEN} ${FUZZ_SEEDS}")
endfunction()

# After every folder: one target that builds all fuzz targets, and the list tools/test.sh reads
# (one line per target: executable, largest input, seed folder).
function(orvane_finish_fuzz_targets)
  get_property(targets GLOBAL PROPERTY ORVANE_FUZZ_TARGETS)
  get_property(manifest GLOBAL PROPERTY ORVANE_FUZZ_MANIFEST)
  add_custom_target(orvane_fuzz_targets)
  add_dependencies(orvane_fuzz_targets ${targets})
  list(JOIN manifest "\n" lines)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzz_targets.txt CONTENT "${lines}\n")
endfunction()
