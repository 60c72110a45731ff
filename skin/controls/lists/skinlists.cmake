# The skinned check lists and scroll-bar controls: the check list's frames and item layout join the controls'
# rules in both trees; the controllers join them in the Windows tree (the check list registers its
# kind, kept in the program by its anchor).
target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CheckListGeometry.cpp)
if(KESTRUP_WINDOWS)
  target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinCheckList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinScControl.cpp)
  target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_checklist_anchor)
endif()

kestrup_native_test(skinlists_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/CheckListGeometry_test.cpp
  LIBS kes_skincontrols)
