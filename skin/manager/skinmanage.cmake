# The skin manager: its neutral rules and command queue in both trees; in the Windows tree the manager itself
# (window-creation hook, frames, popup menus). A program that links kes_skinmanage gets the manager when its
# first skin data component loads.
add_library(kes_skinmanage STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinManageRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinManageCore.cpp)
target_include_directories(kes_skinmanage PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skinmanage PUBLIC kes_skindata kes_gui)
if(KESTRUP_WINDOWS)
  target_sources(kes_skinmanage PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinManage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinPopMenu.cpp)
  target_link_libraries(kes_skinmanage PUBLIC kes_skincontrols kes_skinframe kes_skindraw comctl32 user32)
  # Keeps the manager's registration in every program that links the library.
  target_link_options(kes_skinmanage INTERFACE -Wl,-u,kes_skin_manage_anchor)
endif()

kestrup_native_test(skinmanage_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinManageRules_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/SkinManageCore_test.cpp
  LIBS kes_skinmanage kes_skinart)
# The manager with the frames and popup menus of a test program, skinned with our default skin. Menus and message
# boxes need the focus: under the desktop lock.
kestrup_wine_test(skinmanage_wine_tests GUI LOCK board
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinManage_test.cpp
  LIBS kes_skinmanage kes_skinres)
if(KESTRUP_WINDOWS)
  # An MDI frame with its children, and a new skin while windows are open, in the distinct-colour test skins.
  kestrup_wine_test(skinmdi_wine_tests GUI LOCK board TIMEOUT 300
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinMdi_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinmanage kes_skinres)
  add_dependencies(skinmdi_wine_tests kes_frame_test_skin)
endif()

# The controller families on gallery forms skinned by the manager.
if(KESTRUP_WINDOWS)
  # The tab family on a gallery form skinned by the skin manager: tab set, button-style tab control, page control,
  # list view and a stand-in of another library's page control.
  kestrup_wine_test(skintabs_wine_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinTabsGallery_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinmanage kes_skinres)
  add_dependencies(skintabs_wine_tests kes_frame_test_skin)

  # A gallery form of check lists, scroll-bar controls and a popup menu, skinned by the skin manager: in the
  # distinct-colour test skin for its pixels, in the default skin for a look. Real pointer input: under the lock.
  kestrup_wine_test(skinlists_wine_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinListsGallery_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinmanage kes_skinres)
  add_dependencies(skinlists_wine_tests kes_frame_test_skin)

  # A gallery form of a media player, bit buttons with an image list and stand-ins of foreign check and radio boxes,
  # in the distinct-colour test skin and in the default skin; it clicks with the real pointer.
  kestrup_wine_test(skinmedia_wine_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinMediaGallery_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinmanage kes_skinres kes_mplayer_res kes_skintools)
  add_dependencies(skinmedia_wine_tests kes_frame_test_skin kes_mplayer_res)
endif()
