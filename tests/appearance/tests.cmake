weblark_add_test(test_feature_fields ${CMAKE_CURRENT_LIST_DIR}/test_feature_fields.cpp)
weblark_add_test(test_choosers ${CMAKE_CURRENT_LIST_DIR}/test_choosers.cpp)
weblark_add_test(test_custom_pages ${CMAKE_CURRENT_LIST_DIR}/test_custom_pages.cpp)
weblark_add_test(test_sltTmplFrm ${CMAKE_CURRENT_LIST_DIR}/test_sltTmplFrm.cpp)
