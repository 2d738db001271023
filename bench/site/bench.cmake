weblark_add_bench(bench_site ${CMAKE_CURRENT_LIST_DIR}/site_bench.cpp)
target_include_directories(bench_site PRIVATE ${CMAKE_SOURCE_DIR}/tests/site)
# Lighthouse's mobile audit of the rendered site served by weblark-hostd (web tools from scripts/install-deps.sh).
weblark_add_bench(bench_lighthouse ${CMAKE_CURRENT_LIST_DIR}/lighthouse_bench.cpp)
target_include_directories(bench_lighthouse PRIVATE ${CMAKE_SOURCE_DIR}/tests/site)
add_dependencies(bench_lighthouse weblark-hostd appdir_search_indexer)
target_compile_definitions(bench_lighthouse PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>"
                                                    WEBLARK_WEB_TOOLS="${CMAKE_SOURCE_DIR}/build-tools/web")
