# The core's micro-benchmarks (Google Benchmark). Built only where the library
# is installed (Debian: libbenchmark-dev); run build/velmar_bench.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(velmar_bench ${CMAKE_CURRENT_LIST_DIR}/CoreBench.cpp)
  target_link_libraries(velmar_bench PRIVATE velmar_core benchmark::benchmark)
  target_compile_options(velmar_bench PRIVATE ${VELMAR_WARNINGS})
  target_compile_definitions(velmar_bench PRIVATE VELMAR_CORPUS_DIR="${CMAKE_SOURCE_DIR}/tests/data/corpus")
else()
  message(STATUS "Google Benchmark not found: velmar_bench is not built (install libbenchmark-dev)")
endif()
