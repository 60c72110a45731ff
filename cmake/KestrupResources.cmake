# The program's generated resources, drawn by the host tools (tools/ledart, tools/mpart, tools/skinart, tools/skintools) and
# wired into the modules' resource libraries. Included by the top-level list after the modules and the tools.
kestrup_host_tool(ledart kestrup-ledart tools/ledart)
kestrup_host_tool(skinart kestrup-skinart tools/skinart)
kestrup_host_tool(mpart kestrup-mpart tools/mpart)
kestrup_host_tool(skinpack kestrup-skinpack tools/skintools)

# The port lamp's twelve glyphs and the resource script that stores them (serial's kes_portctl_res).
if(KESTRUP_WINDOWS)
  get_filename_component(ledart_out ${KESTRUP_PORTCTL_RC} DIRECTORY)
  add_custom_command(
    OUTPUT ${KESTRUP_PORTCTL_RC}
    COMMAND ${ledart} ${ledart_out} ${KESTRUP_PORTCTL_RC}
    DEPENDS ${ledart}
    COMMENT "Drawing the port lamp's glyphs"
    VERBATIM)
  add_custom_target(kes_portctl_art DEPENDS ${KESTRUP_PORTCTL_RC})
  add_dependencies(kes_portctl_res kes_portctl_art)
endif()

# The media player's 27 button glyphs and the resource script that stores them (gui's kes_mplayer_res).
if(KESTRUP_WINDOWS)
  get_filename_component(mpart_out ${KESTRUP_MPLAYER_RC} DIRECTORY)
  add_custom_command(
    OUTPUT ${KESTRUP_MPLAYER_RC}
    COMMAND ${mpart} ${mpart_out} ${KESTRUP_MPLAYER_RC}
    DEPENDS ${mpart}
    COMMENT "Drawing the media player's glyphs"
    VERBATIM)
  add_custom_target(kes_mplayer_art DEPENDS ${KESTRUP_MPLAYER_RC})
  add_dependencies(kes_mplayer_res kes_mplayer_art)
endif()

# Our default skin and the program's skin bitmaps, drawn and packed (skin's kes_skinres). The stored skin
# resource holds what the main window stores as "SkinStream": the container's length, then the container.
set(out ${KESTRUP_SKINART_OUT})
add_custom_command(
  OUTPUT ${KESTRUP_SKIN_STREAM} ${KESTRUP_SKIN_RC} ${out}/Kestrup.skn ${out}/program/Kestrup.ico
  COMMAND ${skinart} default ${out}/default
  COMMAND ${skinart} program ${out}/program
  COMMAND ${skinpack} ${out}/default ${out}/Kestrup.skn
  COMMAND ${skinart} stream ${out}/Kestrup.skn ${KESTRUP_SKIN_STREAM}
  COMMAND ${skinart} rc ${out} ${KESTRUP_SKIN_RC}
  DEPENDS ${skinart} ${skinpack}
  COMMENT "Drawing and packing the default skin"
  VERBATIM)
add_custom_target(kes_skinart_files ALL DEPENDS ${KESTRUP_SKIN_STREAM} ${KESTRUP_SKIN_RC})
if(KESTRUP_WINDOWS)
  add_dependencies(kes_skinres kes_skinart_files)
else()
  add_dependencies(skin_preview kes_skinart_files)
endif()
