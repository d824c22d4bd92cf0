# The checks of the 32-bit build against Windows XP SP3, made on the finished
# files since no XP runs here: the import table and header of Pigmentry.exe
# (tools/check_xp_imports.sh), its manifest (tools/check_xp_manifest.sh), and
# that both checks refuse what XP would refuse (tests/xp).
enable_testing()
find_program(PIGMENTRY_XP_OBJDUMP NAMES ${CMAKE_OBJDUMP} i686-w64-mingw32-objdump objdump REQUIRED)

add_test(NAME xp.imports
         COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check_xp_imports.sh ${PIGMENTRY_XP_OBJDUMP}
                 $<TARGET_FILE:Pigmentry> ${CMAKE_SOURCE_DIR}/tools/xp_exports.txt)
add_test(NAME xp.manifest COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check_xp_manifest.sh
                                  $<TARGET_FILE:Pigmentry> x86)

# A program built for newer Windows, which the import check must refuse.
add_executable(xp_newer_imports ${CMAKE_SOURCE_DIR}/tests/xp/newer_imports.cpp)
target_link_options(xp_newer_imports PRIVATE -static)
set_target_properties(xp_newer_imports PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(xp_newer_imports Pigmentry)
add_test(NAME xp.checks_catch_faults
         COMMAND sh ${CMAKE_SOURCE_DIR}/tests/xp/checks_catch_faults.sh ${PIGMENTRY_XP_OBJDUMP}
                 $<TARGET_FILE:xp_newer_imports> ${PIGMENTRY_GENERATED_DIR}/app.manifest)
