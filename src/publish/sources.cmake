list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Protocol.h
  ${CMAKE_CURRENT_LIST_DIR}/Protocol.cpp
)
# packing and upload streaming
list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SitePacker.h
  ${CMAKE_CURRENT_LIST_DIR}/SitePacker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSender.h
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSender.cpp
)
