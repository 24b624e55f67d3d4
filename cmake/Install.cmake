# Installation as a desktop application: the program in bin/, its word list and sounds in
# share/clavimo/, and on the free desktops a desktop entry, AppStream metainfo, icons and
# a manual page, all named after one application id. The program finds its data beside
# its bin/ folder, so the installed tree can be moved to any prefix.

# The day the version of project() was released, for the metainfo; change both together.
set(CLAVIMO_RELEASE_DATE 2026-12-06)

install(TARGETS clavimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} BUNDLE DESTINATION .)
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/clavimo)

if(UNIX AND NOT APPLE)
  set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)

  # The icon files are drawn by the same code as the window icon, at build time, by a
  # small tool that needs no display.
  set(CLAVIMO_ICON_SIZES 16 32 48 64 128 256)
  add_executable(clavimo_render_icons tools/render_icons.cpp src/ui/Artwork.cpp src/ui/Artwork.h)
  target_include_directories(clavimo_render_icons PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(clavimo_render_icons PRIVATE Qt6::Gui)
  set(icon_files)
  foreach(size ${CLAVIMO_ICON_SIZES})
    set(icon ${generated}/icons/${size}/${CLAVIMO_APP_ID}.png)
    list(APPEND icon_files ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_command(OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:clavimo_render_icons> ${generated}/icons ${CLAVIMO_APP_ID} ${CLAVIMO_ICON_SIZES}
    DEPENDS clavimo_render_icons
    COMMENT "Drawing the icon files"
    VERBATIM)

  configure_file(${packaging}/clavimo.desktop.in ${generated}/${CLAVIMO_APP_ID}.desktop @ONLY)
  configure_file(${packaging}/clavimo.metainfo.xml.in ${generated}/${CLAVIMO_APP_ID}.metainfo.xml @ONLY)
  configure_file(${packaging}/clavimo.6.in ${generated}/clavimo.6 @ONLY)
  install(FILES ${generated}/${CLAVIMO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${generated}/${CLAVIMO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Manual page and change log compressed as Debian wants them: best compression, no name
  # or date in the header, so that two builds give the same bytes.
  find_program(CLAVIMO_GZIP gzip REQUIRED)
  set(gzipped ${generated}/clavimo.6.gz ${generated}/changelog.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CLAVIMO_GZIP} -9nkf ${generated}/clavimo.6
    COMMAND ${CMAKE_COMMAND} -E copy ${packaging}/changelog ${generated}/changelog
    COMMAND ${CLAVIMO_GZIP} -9nf ${generated}/changelog
    DEPENDS ${generated}/clavimo.6 ${packaging}/changelog
    VERBATIM)
  install(FILES ${generated}/clavimo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${packaging}/copyright ${generated}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/clavimo)

  add_custom_target(clavimo_desktop_files ALL DEPENDS ${icon_files} ${gzipped})

  include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
endif()
