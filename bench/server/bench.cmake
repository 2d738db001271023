# Serving a rendered site over HTTP: weblark-hostd against nginx under the same load (wrk).
weblark_add_bench(bench_hostd_http ${CMAKE_CURRENT_LIST_DIR}/bench_hostd_http.cpp)
add_dependencies(bench_hostd_http weblark-hostd)
target_compile_definitions(bench_hostd_http PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")
