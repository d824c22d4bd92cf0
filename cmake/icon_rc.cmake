# Writes the icon resources (RT_ICON and RT_GROUP_ICON, both id 1) as raw-data
# blocks of an .rc file, from the palette and the pixel rows in icon_data.h.
#
#   cmake -DICON_DATA=<icon_data.h> -DOUTPUT=<icon.rc> -P icon_rc.cmake
#
# The byte layout is the one BuildIconImage() and BuildIconGroup() produce;
# the unit tests compare the two. Raw data goes out as 16-bit words because
# neither windres nor rc.exe can take a single NUL byte any other way.
cmake_minimum_required(VERSION 3.25)

if(NOT ICON_DATA OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DICON_DATA=<icon_data.h> -DOUTPUT=<icon.rc> -P icon_rc.cmake")
endif()

file(READ "${ICON_DATA}" source)

string(REGEX MATCH "kIconGreys = {[^}]*}" greys_block "${source}")
string(REGEX MATCHALL "0x[0-9A-Fa-f][0-9A-Fa-f]" greys "${greys_block}")
list(LENGTH greys grey_count)
if(NOT grey_count EQUAL 16)
  message(FATAL_ERROR "${ICON_DATA}: expected 16 grey levels in kIconGreys, found ${grey_count}")
endif()

string(REGEX MATCH "kIconRows = {[^}]*}" rows_block "${source}")
string(REGEX MATCHALL "\"[^\"]*\"" rows "${rows_block}")
list(LENGTH rows row_count)
if(NOT row_count EQUAL 16)
  message(FATAL_ERROR "${ICON_DATA}: expected 16 rows in kIconRows, found ${row_count}")
endif()
foreach(row IN LISTS rows)
  if(NOT row MATCHES "^\"[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F]\"$")
    message(FATAL_ERROR "${ICON_DATA}: row ${row} is not 16 hexadecimal digits")
  endif()
endforeach()

# Appends `value` as `width` little-endian bytes to the list `out`.
function(append_le out value width)
  set(bytes ${${out}})
  foreach(i RANGE 1 ${width})
    math(EXPR byte "${value} & 255")
    math(EXPR value "${value} >> 8")
    list(APPEND bytes ${byte})
  endforeach()
  set(${out} ${bytes} PARENT_SCOPE)
endfunction()

# Writes the list of bytes as a raw-data block of 16-bit words.
function(rc_block out name type comment bytes)
  set(block "// ${comment}\n${name} ${type}\n{\n")
  list(LENGTH bytes count)
  math(EXPR last "${count} - 1")
  set(line "")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET bytes ${i} low)
    list(GET bytes ${j} high)
    math(EXPR word "${low} + 256 * ${high}" OUTPUT_FORMAT HEXADECIMAL)
    if(NOT j EQUAL last)
      string(APPEND word ",")
    endif()
    string(APPEND line " ${word}")
    math(EXPR column "(${i} / 2) % 8")
    if(column EQUAL 7 OR j EQUAL last)
      string(APPEND block " ${line}\n")
      set(line "")
    endif()
  endforeach()
  string(APPEND block "}\n")
  set(${out} "${${out}}${block}" PARENT_SCOPE)
endfunction()

# The image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit mask rows.
set(header_bytes 40)
set(colour_bytes 128)
set(mask_bytes 64)
math(EXPR image_bytes "${header_bytes} + 64 + ${colour_bytes} + ${mask_bytes}")
set(image "")
append_le(image ${header_bytes} 4)  # biSize
append_le(image 16 4)               # biWidth
append_le(image 32 4)               # biHeight: colour and mask bitmaps
append_le(image 1 2)                # biPlanes
append_le(image 4 2)                # biBitCount
append_le(image 0 4)                # biCompression: BI_RGB
math(EXPR size_image "${colour_bytes} + ${mask_bytes}")
append_le(image ${size_image} 4)    # biSizeImage
append_le(image 0 16)               # resolution and colour counts
foreach(grey IN LISTS greys)
  math(EXPR grey "${grey}")
  list(APPEND image ${grey} ${grey} ${grey} 0)
endforeach()
list(REVERSE rows)  # bottom row first
foreach(row IN LISTS rows)
  foreach(x RANGE 1 15 2)
    string(SUBSTRING "${row}" ${x} 2 pair)
    math(EXPR byte "0x${pair}")
    list(APPEND image ${byte})
  endforeach()
endforeach()
append_le(image 0 ${mask_bytes})  # every pixel opaque
list(LENGTH image count)
if(NOT count EQUAL image_bytes)
  message(FATAL_ERROR "icon image has ${count} bytes instead of ${image_bytes}")
endif()

# The group directory: one entry pointing at RT_ICON 1.
set(group "")
append_le(group 0 2)                # idReserved
append_le(group 1 2)                # idType: icon
append_le(group 1 2)                # idCount
list(APPEND group 16 16 16 0)       # bWidth, bHeight, bColorCount, bReserved
append_le(group 1 2)                # wPlanes
append_le(group 4 2)                # wBitCount
append_le(group ${image_bytes} 4)   # dwBytesInRes
append_le(group 1 2)                # nId

set(text "// The program's icon, written by icon_rc.cmake from icon_data.h. Do not edit.\n\n")
rc_block(text 1 3 "RT_ICON 1: the 16 x 16, 16-grey image" "${image}")
string(APPEND text "\n")
rc_block(text 1 14 "RT_GROUP_ICON 1: the icon of the executable and of its window" "${group}")

# Rewrite only on change, so that the resource is not recompiled needlessly.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
