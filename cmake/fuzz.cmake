# The fuzz targets (`make fuzz`): clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build of their own beside the GCC one, which replays the inputs
# kept in tests/fuzz (tests/fuzz/CMakeLists.txt).

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "the fuzz targets need clang's libFuzzer: configure with "
                      "-DCMAKE_CXX_COMPILER=clang++")
endif()

add_custom_target(quarrow-fuzz)
# quarrow-fuzz-NAME from tests/fuzz/NAME_fuzz.cpp, with the libraries it tries.
function(quarrow_fuzz_target name)
  add_executable(quarrow-fuzz-${name} tests/fuzz/${name}_fuzz.cpp)
  target_include_directories(quarrow-fuzz-${name} PRIVATE tests/fuzz)
  target_link_libraries(quarrow-fuzz-${name} PRIVATE ${ARGN})
  target_link_options(quarrow-fuzz-${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(quarrow-fuzz quarrow-fuzz-${name})
endfunction()

quarrow_fuzz_target(pool_reader quarrow_sim_tool)
quarrow_fuzz_target(runner_options quarrow_sim_tool)
# The window's parser alone: it needs neither Qt nor a display.
quarrow_fuzz_target(window_options quarrow_play quarrow_build_info)
target_sources(quarrow-fuzz-window_options PRIVATE src/app/command_line.cpp)
quarrow_fuzz_target(escaped quarrow_text)
quarrow_fuzz_target(page_address quarrow_play)
