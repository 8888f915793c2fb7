# The stub's small dialog layer, a target of its own beside the builder's class library.
if(WIN32 AND NOT TARGET stub_dialogs)
  add_library(stub_dialogs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/stub_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stub_subclass.cpp)
  target_include_directories(stub_dialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(stub_dialogs PUBLIC user32 comctl32)
endif()
