weblark_add_bench(bench_editor ${CMAKE_CURRENT_LIST_DIR}/editor_bench.cpp)
