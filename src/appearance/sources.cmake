list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AppearanceSettings.h
  ${CMAKE_CURRENT_LIST_DIR}/AppearanceSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomPages.h
  ${CMAKE_CURRENT_LIST_DIR}/CustomPages.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_view.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_viewHead.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_viewHead.cpp
)
