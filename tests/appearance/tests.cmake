weblark_add_test(test_custom_pages ${CMAKE_CURRENT_LIST_DIR}/test_custom_pages.cpp)
