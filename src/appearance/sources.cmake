list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AppearanceSettings.h
  ${CMAKE_CURRENT_LIST_DIR}/AppearanceSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomPages.h
  ${CMAKE_CURRENT_LIST_DIR}/CustomPages.cpp
)
