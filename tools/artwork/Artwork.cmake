# orvane_generate_artwork(<plugin> <out-var>)
#
# Draws the editor bitmaps of <plugin> (eq or compressor) with tools/artwork/gen_artwork.py into
# ${CMAKE_CURRENT_BINARY_DIR}/resources at 1x and 2x, and sets <out-var> to their paths, to be
# copied into the bundle's Contents/Resources. Call it from the plug-in's own folder, where the
# bundle is made. The lettering is drawn with the DejaVu font files panel.py names and no
# others; with tests on, <folder prefix>artwork_fonts checks that other installed fonts change
# nothing.
set(ORVANE_ARTWORK_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVANE_ARTWORK_FONT_DIR /usr/share/fonts/truetype/dejavu)
set(ORVANE_ARTWORK_FONTS
  ${ORVANE_ARTWORK_FONT_DIR}/DejaVuSans.ttf ${ORVANE_ARTWORK_FONT_DIR}/DejaVuSans-Bold.ttf
  ${ORVANE_ARTWORK_FONT_DIR}/DejaVuSansCondensed.ttf)
foreach(font IN LISTS ORVANE_ARTWORK_FONTS)
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "The editor artwork is drawn with ${font}, which is missing: "
                        "tools/setup.sh installs it (fonts-dejavu-core, fonts-dejavu-extra)")
  endif()
endforeach()

function(orvane_generate_artwork plugin outVar)
  if(plugin STREQUAL "eq")
    set(names background vu knob_lrg knob_med knob_sml)
  elseif(plugin STREQUAL "compressor")
    set(names background vu vu_rd knob_lrg knob_med btn_rd btn_yel)
  else()
    message(FATAL_ERROR "orvane_generate_artwork: no artwork for ${plugin}")
  endif()
  set(outDir ${CMAKE_CURRENT_BINARY_DIR}/resources)
  set(files)
  foreach(name IN LISTS names)
    list(APPEND files ${outDir}/${name}.png ${outDir}/${name}2x.png)
  endforeach()
  add_custom_command(OUTPUT ${files}
    COMMAND ${ORVANE_PYTHON} ${ORVANE_ARTWORK_DIR}/gen_artwork.py ${plugin} ${outDir}
    DEPENDS ${ORVANE_ARTWORK_DIR}/gen_artwork.py ${ORVANE_ARTWORK_DIR}/panel.py
            ${ORVANE_ARTWORK_FONTS}
    COMMENT "Drawing the ${plugin} editor bitmaps"
    VERBATIM)
  add_custom_target(orvane_${plugin}_artwork DEPENDS ${files})
  if(ORVANE_TESTS)
    orvane_test_prefix(prefix)
    add_test(NAME ${prefix}artwork_fonts
             COMMAND ${ORVANE_PYTHON} ${ORVANE_ARTWORK_DIR}/check_same_bitmaps.py ${plugin}
                     ${outDir} ${CMAKE_CURRENT_BINARY_DIR}/artwork-fonts-check)
  endif()
  set(${outVar} ${files} PARENT_SCOPE)
endfunction()
