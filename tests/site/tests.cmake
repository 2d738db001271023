weblark_add_test(test_site_render ${CMAKE_CURRENT_LIST_DIR}/test_site_render.cpp ${CMAKE_CURRENT_LIST_DIR}/GeneratedSite.h)
target_compile_definitions(test_site_render PRIVATE WEBLARK_SITE_GOLDEN="${CMAKE_CURRENT_LIST_DIR}/golden"
                           WEBLARK_SEARCH_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/search.mjs"
                           WEBLARK_SEARCH_INDEXER="${WEBLARK_SEARCH_INDEXER}"
                           WEBLARK_VNU_JAR="${CMAKE_SOURCE_DIR}/build-tools/web/node_modules/vnu-jar/build/dist/vnu.jar")
