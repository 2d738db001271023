weblark_add_test(test_catalogtree ${CMAKE_CURRENT_LIST_DIR}/test_catalogtree.cpp ${CMAKE_CURRENT_LIST_DIR}/SiteRows.h)
weblark_add_test(test_designer ${CMAKE_CURRENT_LIST_DIR}/test_designer.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignerFixture.h)
weblark_add_test(test_dialogs ${CMAKE_CURRENT_LIST_DIR}/test_dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignerFixture.h)
