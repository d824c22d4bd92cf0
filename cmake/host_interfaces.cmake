# The host's interfaces, generated from src/bridge/com/host_interfaces.idl
# for every Windows target that talks to the host or stands in for it:
#   host_interfaces.h      the C++ interfaces (abstract classes in slot order)
#   host_interfaces_i.c    the identifiers of the classes and interfaces
#   host_interfaces_unused.h  the unused slots of each interface, for the
#                          stand-in, which must implement them all
# and the type library pigmentry_binding.tlb next to the programs, marked
# win32 as the real host's is. MinGW builds run widl; MSVC builds run midl
# from the Windows SDK on the same file (the stand-in needs its type library
# at run time, so an MSVC build needs an IDL compiler in any case).
# Defines the library pigmentry_host_interfaces (link it to use them) and
# PIGMENTRY_BINDING_TLB, the type library's path.
if(TARGET pigmentry_host_interfaces)
  return()
endif()

get_filename_component(PIGMENTRY_HOST_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(PIGMENTRY_HOST_IDL ${PIGMENTRY_HOST_ROOT}/src/bridge/com/host_interfaces.idl)
set(PIGMENTRY_HOST_DIR ${CMAKE_BINARY_DIR}/host_interfaces)
set(PIGMENTRY_HOST_HEADER ${PIGMENTRY_HOST_DIR}/host_interfaces.h)
set(PIGMENTRY_HOST_IIDS ${PIGMENTRY_HOST_DIR}/host_interfaces_i.c)
set(PIGMENTRY_HOST_UNUSED ${PIGMENTRY_HOST_DIR}/host_interfaces_unused.h)

set(PIGMENTRY_BINDING_TLB ${CMAKE_BINARY_DIR}/pigmentry_binding.tlb)
file(MAKE_DIRECTORY ${PIGMENTRY_HOST_DIR})

if(MSVC)
  add_custom_command(
    OUTPUT ${PIGMENTRY_HOST_HEADER} ${PIGMENTRY_HOST_IIDS} ${PIGMENTRY_BINDING_TLB}
    COMMAND midl /nologo /env win32 /out ${PIGMENTRY_HOST_DIR} /h host_interfaces.h
            /iid host_interfaces_i.c /tlb ${PIGMENTRY_BINDING_TLB} /proxy host_interfaces_p.c
            /dlldata host_interfaces_dlldata.c ${PIGMENTRY_HOST_IDL}
    DEPENDS ${PIGMENTRY_HOST_IDL}
    COMMENT "Generating the host's interfaces and type library (midl)")
else()
  find_program(PIGMENTRY_WIDL NAMES x86_64-w64-mingw32-widl i686-w64-mingw32-widl widl REQUIRED)
  set(PIGMENTRY_WIDL_INCLUDE /usr/include/wine/wine/windows)
  add_custom_command(
    OUTPUT ${PIGMENTRY_HOST_HEADER} ${PIGMENTRY_HOST_IIDS}
    COMMAND ${PIGMENTRY_WIDL} --win32 -h -I${PIGMENTRY_WIDL_INCLUDE} -o ${PIGMENTRY_HOST_HEADER}
            ${PIGMENTRY_HOST_IDL}
    COMMAND ${PIGMENTRY_WIDL} --win32 -u -I${PIGMENTRY_WIDL_INCLUDE} -o ${PIGMENTRY_HOST_IIDS}
            ${PIGMENTRY_HOST_IDL}
    DEPENDS ${PIGMENTRY_HOST_IDL}
    COMMENT "Generating the host's interfaces (widl)")
  # The type library imports stdole2.tlb from Wine's 32-bit (or else 64-bit)
  # libraries.
  set(PIGMENTRY_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
  if(NOT EXISTS ${PIGMENTRY_STDOLE_DIR}/stdole2.tlb)
    set(PIGMENTRY_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  endif()
  add_custom_command(
    OUTPUT ${PIGMENTRY_BINDING_TLB}
    COMMAND ${PIGMENTRY_WIDL} --win32 -t -I${PIGMENTRY_WIDL_INCLUDE} -L${PIGMENTRY_STDOLE_DIR}
            -o ${PIGMENTRY_BINDING_TLB} ${PIGMENTRY_HOST_IDL}
    DEPENDS ${PIGMENTRY_HOST_IDL}
    COMMENT "Building the host's type library (widl)")
endif()

add_custom_command(
  OUTPUT ${PIGMENTRY_HOST_UNUSED}
  COMMAND ${CMAKE_COMMAND} -DIDL=${PIGMENTRY_HOST_IDL} -DOUTPUT=${PIGMENTRY_HOST_UNUSED} -P
          ${PIGMENTRY_HOST_ROOT}/cmake/host_interfaces_unused.cmake
  DEPENDS ${PIGMENTRY_HOST_IDL} ${PIGMENTRY_HOST_ROOT}/cmake/host_interfaces_unused.cmake
  COMMENT "Listing the host interfaces' unused slots")

# The identifiers compile as C++ with the rest of the program.
set_source_files_properties(${PIGMENTRY_HOST_IIDS} PROPERTIES LANGUAGE CXX)
add_library(pigmentry_host_interfaces STATIC ${PIGMENTRY_HOST_IIDS} ${PIGMENTRY_HOST_HEADER}
                                             ${PIGMENTRY_HOST_UNUSED})
# Generated code: its warnings are not this project's.
target_include_directories(pigmentry_host_interfaces SYSTEM PUBLIC ${PIGMENTRY_HOST_DIR})
target_compile_definitions(pigmentry_host_interfaces PRIVATE UNICODE _UNICODE NOMINMAX
                                                             WIN32_LEAN_AND_MEAN)
target_link_libraries(pigmentry_host_interfaces PUBLIC ole32 oleaut32 uuid)
