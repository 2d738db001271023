weblark_add_test(test_shell ${CMAKE_CURRENT_LIST_DIR}/test_shell.cpp)
