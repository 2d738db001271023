list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Protocol.h
  ${CMAKE_CURRENT_LIST_DIR}/Protocol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageFramer.h
  ${CMAKE_CURRENT_LIST_DIR}/MessageFramer.cpp
)
# packing and upload streaming
list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SitePacker.h
  ${CMAKE_CURRENT_LIST_DIR}/SitePacker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSender.h
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveSender.cpp
)

# --- session, chat and publishing windows ---
list(APPEND WEBLARK_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/PublishSession.h
  ${CMAKE_CURRENT_LIST_DIR}/PublishSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChatHtml.h
  ${CMAKE_CURRENT_LIST_DIR}/ChatHtml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PublishClient.h
  ${CMAKE_CURRENT_LIST_DIR}/PublishClient.cpp
)
list(APPEND WEBLARK_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MsgPageWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/MsgPageWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dlgFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/dlgFrm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/verFrm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/updataFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/updataFrm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/siteViewFrm.h
  ${CMAKE_CURRENT_LIST_DIR}/siteViewFrm.cpp
)
