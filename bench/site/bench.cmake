weblark_add_bench(bench_site ${CMAKE_CURRENT_LIST_DIR}/site_bench.cpp)
target_include_directories(bench_site PRIVATE ${CMAKE_SOURCE_DIR}/tests/site)
