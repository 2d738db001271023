weblark_add_test(test_catalogtree ${CMAKE_CURRENT_LIST_DIR}/test_catalogtree.cpp)
