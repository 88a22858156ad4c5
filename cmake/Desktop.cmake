# Installs a program as a desktop program: its desktop entry and AppStream metainfo, its icon
# in the hicolor theme at the usual sizes (drawn at build time by ICON_COMMAND, which is given
# the output folder and the sizes and writes hicolor/NxN/apps/ICON.png), and its manual pages
# (PAGE.1.in, with @PROJECT_VERSION@ filled in, compressed as Debian wants them).
#
#   install_desktop_program(NAME ICON ENTRY file METAINFO file
#                           ICON_COMMAND command... MANPAGES page...)

set(DESKTOP_ICON_SIZES 16 22 24 32 48 64 128 256)

function(install_desktop_program name)
  cmake_parse_arguments(PARSE_ARGV 1 A "" "ICON;ENTRY;METAINFO" "ICON_COMMAND;MANPAGES")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/desktop)

  set(icons)
  foreach(size IN LISTS DESKTOP_ICON_SIZES)
    list(APPEND icons ${out}/hicolor/${size}x${size}/apps/${A_ICON}.png)
  endforeach()
  list(GET A_ICON_COMMAND 0 tool)
  add_custom_command(
    OUTPUT ${icons}
    COMMAND ${A_ICON_COMMAND} ${out} ${DESKTOP_ICON_SIZES}
    DEPENDS ${tool}
    COMMENT "Drawing the ${name} icon for the desktop's icon theme")

  set(pages)
  foreach(page IN LISTS A_MANPAGES)
    configure_file(${page}.1.in ${out}/${page}.1 @ONLY)
    add_custom_command(
      OUTPUT ${out}/${page}.1.gz
      COMMAND gzip -9nc ${out}/${page}.1 > ${out}/${page}.1.gz
      DEPENDS ${out}/${page}.1
      COMMENT "Compressing the ${page}(1) manual page")
    list(APPEND pages ${out}/${page}.1.gz)
  endforeach()
  add_custom_target(${name}_desktop_files ALL DEPENDS ${icons} ${pages})

  install(FILES ${A_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${A_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${out}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
