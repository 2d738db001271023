weblark_add_bench(bench_content ${CMAKE_CURRENT_LIST_DIR}/content_bench.cpp)
