# Packing and upload throughput; needs the built weblark-hostd.
weblark_add_bench(bench_publish ${CMAKE_CURRENT_LIST_DIR}/bench_publish.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchWorkspace.h)
add_dependencies(bench_publish weblark-hostd)
target_compile_definitions(bench_publish PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")

# --- session: large server messages ---
weblark_add_bench(bench_session ${CMAKE_CURRENT_LIST_DIR}/bench_session.cpp)

# --- the sync of changed files against the built server ---
weblark_add_bench(bench_sync ${CMAKE_CURRENT_LIST_DIR}/bench_sync.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchWorkspace.h)
add_dependencies(bench_sync weblark-hostd)
target_compile_definitions(bench_sync PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")
