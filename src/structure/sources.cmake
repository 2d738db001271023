list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CatalogTree.h
  ${CMAKE_CURRENT_LIST_DIR}/CatalogTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CatalogOps.h
  ${CMAKE_CURRENT_LIST_DIR}/CatalogOps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DisplayFormats.h
  ${CMAKE_CURRENT_LIST_DIR}/DisplayFormats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageRef.h
  ${CMAKE_CURRENT_LIST_DIR}/StructureEditor.h
  ${CMAKE_CURRENT_LIST_DIR}/StructureEditor.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CatalogTreeBinding.h
  ${CMAKE_CURRENT_LIST_DIR}/CatalogTreeBinding.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DialogParts.h
  ${CMAKE_CURRENT_LIST_DIR}/DialogParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/disModel.h
  ${CMAKE_CURRENT_LIST_DIR}/disModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageFormatDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/PageFormatDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_addCat.h
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_addCat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_addFile.h
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_addFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_modFile.h
  ${CMAKE_CURRENT_LIST_DIR}/dgnFrm_modFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/designFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/designFrm.cpp
)
