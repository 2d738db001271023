weblark_add_test(test_protocol ${CMAKE_CURRENT_LIST_DIR}/test_protocol.cpp)
