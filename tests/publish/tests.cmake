weblark_add_test(test_protocol ${CMAKE_CURRENT_LIST_DIR}/test_protocol.cpp)
# packing, upload streaming and the hosting server
weblark_add_test(test_packing ${CMAKE_CURRENT_LIST_DIR}/test_packing.cpp)
weblark_add_test(test_upload ${CMAKE_CURRENT_LIST_DIR}/test_upload.cpp)

# --- session, chat and publishing windows ---
weblark_add_test(test_session ${CMAKE_CURRENT_LIST_DIR}/test_session.cpp)
weblark_add_test(test_updatafrm ${CMAKE_CURRENT_LIST_DIR}/test_updatafrm.cpp)
