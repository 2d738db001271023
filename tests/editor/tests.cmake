weblark_add_test(test_editor ${CMAKE_CURRENT_LIST_DIR}/test_editor.cpp)
target_include_directories(test_editor PRIVATE ${CMAKE_SOURCE_DIR}/tests/content)
weblark_add_test(test_insert_fragments ${CMAKE_CURRENT_LIST_DIR}/test_insert_fragments.cpp)
weblark_add_test(test_insert_dialogs ${CMAKE_CURRENT_LIST_DIR}/test_insert_dialogs.cpp)
