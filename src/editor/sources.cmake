list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AdvPageStore.h
  ${CMAKE_CURRENT_LIST_DIR}/AdvPageStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlFragments.h
  ${CMAKE_CURRENT_LIST_DIR}/HtmlFragments.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/advEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/advEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlHighlighter.h
  ${CMAKE_CURRENT_LIST_DIR}/HtmlHighlighter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor.qrc
  ${CMAKE_CURRENT_LIST_DIR}/InsertDialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/InsertDialogs.cpp
)
# The tool bar opens the insert dialogs once they are part of the build.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/InsertDialogs.cpp)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/advEdit.cpp APPEND PROPERTY COMPILE_DEFINITIONS WEBLARK_HAVE_INSERT_DIALOGS)
endif()
