# Core rules and decisions: replies, notices, the sanitiser.
weblark_add_test(test_session ${CMAKE_CURRENT_LIST_DIR}/test_session.cpp)
# packing, upload streaming and the hosting server
weblark_add_test(test_packing ${CMAKE_CURRENT_LIST_DIR}/test_packing.cpp)
weblark_add_test(test_upload ${CMAKE_CURRENT_LIST_DIR}/test_upload.cpp)
weblark_add_test(test_hostd ${CMAKE_CURRENT_LIST_DIR}/test_hostd.cpp ${CMAKE_CURRENT_LIST_DIR}/HostdClient.h)
target_link_libraries(test_hostd PRIVATE weblark_hostserver)
add_dependencies(test_hostd weblark-hostd)
target_compile_definitions(test_hostd PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")

# --- the shared connection and the publishing, chat and notice windows ---
weblark_add_test(test_client ${CMAKE_CURRENT_LIST_DIR}/test_client.cpp ${CMAKE_CURRENT_LIST_DIR}/PublishingFixture.h)
weblark_add_test(test_updatafrm ${CMAKE_CURRENT_LIST_DIR}/test_updatafrm.cpp ${CMAKE_CURRENT_LIST_DIR}/PublishingFixture.h)
weblark_add_test(test_publish_hostd ${CMAKE_CURRENT_LIST_DIR}/test_publish_hostd.cpp ${CMAKE_CURRENT_LIST_DIR}/PublishingFixture.h)
target_link_libraries(test_publish_hostd PRIVATE weblark_hostserver)
add_dependencies(test_publish_hostd weblark-hostd)
target_compile_definitions(test_publish_hostd PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>")
weblark_add_test(test_hostd_http ${CMAKE_CURRENT_LIST_DIR}/test_hostd_http.cpp ${CMAKE_CURRENT_LIST_DIR}/HostdClient.h)
target_link_libraries(test_hostd_http PRIVATE weblark_hostserver)
add_dependencies(test_hostd_http weblark-hostd)
target_compile_definitions(test_hostd_http PRIVATE WEBLARK_HOSTD="$<TARGET_FILE:weblark-hostd>"
  WEBLARK_SEARCH_INDEXER="${WEBLARK_SEARCH_INDEXER}")
weblark_add_test(test_hostd_options ${CMAKE_CURRENT_LIST_DIR}/test_hostd_options.cpp)
target_link_libraries(test_hostd_options PRIVATE weblark_hostserver)
