weblark_add_bench(bench_structure ${CMAKE_CURRENT_LIST_DIR}/tree_load_bench.cpp)
