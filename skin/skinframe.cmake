# The skinned window frame: the neutral frame rules (metrics, hit tests, caption layout, caption buttons,
# non-client actions, region plan) in both trees, the frame itself (TWinSkinForm) in the Windows tree.
add_library(kes_skinframe STATIC ${CMAKE_CURRENT_LIST_DIR}/FrameLayout.cpp)
target_include_directories(kes_skinframe PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skinframe PUBLIC kes_skindata kes_skindraw kes_gui)
if(KESTRUP_WINDOWS)
  target_sources(kes_skinframe PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinForm.cpp)
  target_link_libraries(kes_skinframe PUBLIC comctl32 gdi32 user32)
endif()
