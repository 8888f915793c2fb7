# Message tables, percent formulas, logs and the progress program shared by
# both sides of the engine. The tables and formulas are portable; the log
# files and the progress window are Win32 code.
add_library(engine_messages STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MessageTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressPercent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnzipMessages.cpp)
if(WIN32)
  target_sources(engine_messages PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EngineLog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgressWindow.cpp)
endif()
target_include_directories(engine_messages PUBLIC ${CMAKE_CURRENT_LIST_DIR})
