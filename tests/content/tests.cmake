weblark_add_test(test_content_core ${CMAKE_CURRENT_LIST_DIR}/test_content_core.cpp)
weblark_add_test(test_content_window ${CMAKE_CURRENT_LIST_DIR}/test_content_window.cpp ${CMAKE_CURRENT_LIST_DIR}/ContentSite.h)
weblark_add_test(test_content_lists ${CMAKE_CURRENT_LIST_DIR}/test_content_lists.cpp ${CMAKE_CURRENT_LIST_DIR}/ContentSite.h)
weblark_add_test(test_products ${CMAKE_CURRENT_LIST_DIR}/test_products.cpp ${CMAKE_CURRENT_LIST_DIR}/ContentSite.h)
