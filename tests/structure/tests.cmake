weblark_add_test(test_structure_core ${CMAKE_CURRENT_LIST_DIR}/test_structure_core.cpp)
weblark_add_test(test_designer ${CMAKE_CURRENT_LIST_DIR}/test_designer.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignerFixture.h)
weblark_add_test(test_dialogs ${CMAKE_CURRENT_LIST_DIR}/test_dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignerFixture.h)
