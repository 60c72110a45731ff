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
