# The program's identity on a desktop: icon renderings, desktop entry, AppStream data, manuals
# and the Debian package that carries them.

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)

set(icon_svg ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/${QUARROW_APP_ID}.svg)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${icon_dir}/${size}x${size}/${QUARROW_APP_ID}.png)
  # The smallest sizes are drawn by hand on the pixel grid: a scaled rendering blurs their lines.
  set(drawn ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/${QUARROW_APP_ID}-${size}.png)
  if(EXISTS ${drawn})
    set(render ${CMAKE_COMMAND} -E copy ${drawn} ${png})
    set(source ${drawn})
  else()
    set(render ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${icon_svg})
    set(source ${icon_svg})
  endif()
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}/${size}x${size}
    COMMAND ${render}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The window carries its icon inside, for a desktop whose theme lacks it.
qt_add_resources(quarrow_window window_icon PREFIX /icons BASE ${icon_dir} FILES ${icon_pngs})

# Manuals and changelog are gzipped as Debian installs them; the same files serve cmake --install.
execute_process(COMMAND date -u -R -d "${QUARROW_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE QUARROW_RELEASE_DATE_RFC OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(gzipped)
foreach(source man/quarrow.6 man/quarrow-sim.6 changelog)
  get_filename_component(name ${source} NAME)
  configure_file(data/${source}.in ${CMAKE_CURRENT_BINARY_DIR}/doc/${name} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/doc/${name}.gz
    COMMAND ${GZIP} -9 --no-name --force --keep ${CMAKE_CURRENT_BINARY_DIR}/doc/${name}
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/doc/${name}
    VERBATIM)
  list(APPEND gzipped ${CMAKE_CURRENT_BINARY_DIR}/doc/${name}.gz)
endforeach()
add_custom_target(quarrow_docs ALL DEPENDS ${gzipped})

configure_file(data/${QUARROW_APP_ID}.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/${QUARROW_APP_ID}.metainfo.xml @ONLY)

# Debian puts games in games/ under the prefix; a prefix whose games/ is not on PATH can use bin.
set(QUARROW_INSTALL_BINDIR games CACHE STRING "Where the programs go, relative to the prefix")
install(TARGETS quarrow quarrow-sim RUNTIME DESTINATION ${QUARROW_INSTALL_BINDIR})
install(FILES data/${QUARROW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QUARROW_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/doc/quarrow.6.gz ${CMAKE_CURRENT_BINARY_DIR}/doc/quarrow-sim.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz data/copyright docs/many-runs.md
  docs/shards.sbatch DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarrow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUARROW_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plugins at run time, so the libraries alone do not name them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUARROW_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"watch two computer teams play a ball-throwing game
Ten computer players, five a team, play a ball-throwing game on a split
court: they fetch the ball, aim, throw, dodge and roam. A hit player goes
to the end zone behind the opponents and comes back by hitting someone;
a team that loses its three lives loses the match. You watch, speed the
game up, or drop a dead ball on the court with the mouse.

quarrow-sim plays matches without a window and can write a trace of every
frame.")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Two packages of one commit are the same bytes: see repack_deb.cmake.
set(CPACK_QUARROW_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_QUARROW_RELEASE_DATE ${QUARROW_RELEASE_DATE})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/repack_deb.cmake)
include(CPack)
