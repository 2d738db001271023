weblark_add_test(test_protocol ${CMAKE_CURRENT_LIST_DIR}/test_protocol.cpp)

# --- session, chat and publishing windows ---
weblark_add_test(test_session ${CMAKE_CURRENT_LIST_DIR}/test_session.cpp)
weblark_add_test(test_updatafrm ${CMAKE_CURRENT_LIST_DIR}/test_updatafrm.cpp)
