# skinned frame, close box, push button and the about window
weblark_add_test(test_skin ${CMAKE_CURRENT_LIST_DIR}/test_skin.cpp)
