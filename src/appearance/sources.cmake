list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FeatureFields.h
  ${CMAKE_CURRENT_LIST_DIR}/FeatureFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ThumbnailLayout.h
  ${CMAKE_CURRENT_LIST_DIR}/ThumbnailLayout.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tmpl.h
  ${CMAKE_CURRENT_LIST_DIR}/tmpl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TemplateChooser.h
  ${CMAKE_CURRENT_LIST_DIR}/TemplateChooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_viewTmpl.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_viewTmpl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NameStyleChooser.h
  ${CMAKE_CURRENT_LIST_DIR}/NameStyleChooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_adBoardFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_adBoardFrm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_javaScrpt.h
  ${CMAKE_CURRENT_LIST_DIR}/sltTmplFrm_javaScrpt.cpp
)
