# Writes test_bitmaps.rc: small 8-bit bitmaps as raw RT_BITMAP resources
# (header, 256-colour table, pixels), so that the Windows tests can load
# bitmap resources from their own program without image files in the tree.
# Colour i of every table is (red i, green 255 - i, blue i / 2); every pixel
# of bitmap n is n & 255.
function(rw_bitmap_resource out id width height)
  rw_bitmap_resource_colours(${out} ${id} ${width} ${height} 256)
  set(${out} "${${out}}" PARENT_SCOPE)
endfunction()

# The same with a colour table of `colours` entries (biClrUsed), as a
# bitmap saved with fewer colours is stored.
function(rw_bitmap_resource_colours out id width height colours)
  math(EXPR stride "(${width} + 3) / 4 * 4")
  math(EXPR image "${stride} * ${height}")
  set(words "40,0, ${width},0, ${height},0, 1, 8, 0,0, ${image},0, 0,0, 0,0, ${colours},0, 0,0")
  math(EXPR last "${colours} - 1")
  foreach(i RANGE ${last})
    math(EXPR gb "((255 - ${i}) << 8) | (${i} / 2)")
    string(APPEND words ", ${gb}, ${i}")
  endforeach()
  math(EXPR pixel "${id} & 255")
  math(EXPR pair "(${pixel} << 8) | ${pixel}")
  math(EXPR count "${image} / 2")
  foreach(i RANGE 1 ${count})
    string(APPEND words ", ${pair}")
  endforeach()
  set(${out} "${${out}}${id} 2\nBEGIN\n  ${words}\nEND\n" PARENT_SCOPE)
endfunction()
