# kestrup_pack_skin(<target> FOLDER <dir> OUTPUT <file> [FORMAT <n>] [RC <file> [RESOURCE <name>]])
# Packs a folder of bitmaps and its skin description into a skin container at build time (and, with RC,
# a resource include that stores it in a program). <target> is a custom target that other targets can
# depend on. The native tree runs its own kestrup-skinpack; the Windows tree runs the native tree's
# (scripts/build.sh builds that tree first), or KESTRUP_HOST_SKINPACK when set.
set(KESTRUP_HOST_SKINPACK "${CMAKE_BINARY_DIR}/../native/tools/skintools/kestrup-skinpack"
    CACHE FILEPATH "Native kestrup-skinpack used by the Windows tree")

function(kestrup_pack_skin target)
  cmake_parse_arguments(P "" "FOLDER;OUTPUT;FORMAT;RC;RESOURCE" "" ${ARGN})
  if(NOT P_FOLDER OR NOT P_OUTPUT)
    message(FATAL_ERROR "kestrup_pack_skin: FOLDER and OUTPUT are required")
  endif()
  if(KESTRUP_WINDOWS)
    set(packer ${KESTRUP_HOST_SKINPACK})
    set(packer_dep ${KESTRUP_HOST_SKINPACK})
  else()
    set(packer kestrup-skinpack)
    set(packer_dep kestrup-skinpack)
  endif()
  set(args)
  if(P_FORMAT)
    list(APPEND args --format ${P_FORMAT})
  endif()
  set(outputs ${P_OUTPUT})
  if(P_RC)
    list(APPEND args --rc ${P_RC})
    list(APPEND outputs ${P_RC})
    if(P_RESOURCE)
      list(APPEND args --resource ${P_RESOURCE})
    endif()
  endif()
  file(GLOB inputs CONFIGURE_DEPENDS ${P_FOLDER}/*)
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${packer} ${args} ${P_FOLDER} ${P_OUTPUT}
    DEPENDS ${packer_dep} ${inputs}
    COMMENT "Packing skin ${P_FOLDER}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()
