# cmake -DIDL=<host_interfaces.idl> -DOUTPUT=<header> -P host_interfaces_unused.cmake
# Writes, for each interface of the IDL file, a macro that lists its unused
# slots (the SLOT(n) lines): PIGMENTRY_UNUSED_<interface>(X) expands to
# X(n) for each, in order. The stand-in implements them through it.
file(STRINGS ${IDL} lines)
get_filename_component(idl_name ${IDL} NAME)
set(text "// Generated from ${idl_name}: the unused slots of each interface.\n#pragma once\n")
set(interface "")
set(slots "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*interface[ \t]+([A-Za-z0-9_]+)[ \t]*:")
    set(interface ${CMAKE_MATCH_1})
    set(slots "")
  elseif(interface AND line MATCHES "^[ \t]*SLOT\\(([0-9]+)\\)")
    string(APPEND slots " X(${CMAKE_MATCH_1})")
  elseif(interface AND line MATCHES "^[ \t]*};")
    string(APPEND text "#define PIGMENTRY_UNUSED_${interface}(X)${slots}\n")
    set(interface "")
  endif()
endforeach()
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
