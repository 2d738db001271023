# Packing and upload throughput; needs the built weblark-hostd.
weblark_add_bench(bench_publish ${CMAKE_CURRENT_LIST_DIR}/bench_publish.cpp)
add_dependencies(bench_publish weblark-hostd)
target_compile_definitions(bench_publish PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")

# --- session: large server messages ---
weblark_add_bench(bench_session ${CMAKE_CURRENT_LIST_DIR}/bench_session.cpp)
