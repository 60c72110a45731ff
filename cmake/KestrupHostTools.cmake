# The tools that draw and pack the program's resources run on the build machine. The native tree builds them;
# the Windows tree runs the native tree's (scripts/build.sh builds that tree first). This is the one place that
# knows where the native tree is.
set(KESTRUP_NATIVE_BUILD "${CMAKE_BINARY_DIR}/../native" CACHE PATH
    "Native build tree whose tools draw and pack the program's resources")

# kestrup_host_tool(<var> <target> <folder>): what to run (and depend on) for the host tool <target> built in
# <folder> of the native tree: the target itself in the native tree, its file in the native tree otherwise.
function(kestrup_host_tool var target folder)
  if(KESTRUP_WINDOWS)
    set(${var} ${KESTRUP_NATIVE_BUILD}/${folder}/${target} PARENT_SCOPE)
  else()
    set(${var} ${target} PARENT_SCOPE)
  endif()
endfunction()

# The generated resources the modules build into the program (written by cmake/KestrupResources.cmake).
set(KESTRUP_PORTCTL_RC ${CMAKE_BINARY_DIR}/ledart/PortLeds.rc)
set(KESTRUP_MPLAYER_RC ${CMAKE_BINARY_DIR}/mpart/MediaPlayer.rc)
set(KESTRUP_SKINART_OUT ${CMAKE_BINARY_DIR}/skinart)
set(KESTRUP_SKIN_STREAM ${KESTRUP_SKINART_OUT}/Kestrup.skinstream)
set(KESTRUP_SKIN_RC ${KESTRUP_SKINART_OUT}/KestrupSkin.rc)
