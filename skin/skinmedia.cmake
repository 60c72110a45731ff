# The skinned media player and the glyph strips of foreign check and radio boxes: their neutral layouts join the
# controls' rules in both trees; the controllers join them in the Windows tree and register their
# kinds (kept in the program by their anchors).
target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MediaPlayerGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GlyphStripGeometry.cpp)
if(KESTRUP_WINDOWS)
  target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinMediaPlayer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinObjImage.cpp)
  target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_media_anchor -Wl,-u,kes_skin_objimage_anchor)
endif()

kestrup_native_test(skinmedia_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/MediaPlayerGeometry_test.cpp
  LIBS kes_skincontrols)

# A gallery form of a media player, bit buttons with an image list and stand-ins of foreign check and radio boxes,
# in the distinct-colour test skin and in the default skin; it clicks with the real pointer.
if(KESTRUP_WINDOWS)
  kestrup_wine_test(skinmedia_wine_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinMediaGallery_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinmanage kes_skinres kes_mplayer_res kes_skintools)
  add_dependencies(skinmedia_wine_tests kes_frame_test_skin kes_mplayer_res)
endif()
