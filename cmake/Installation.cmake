# What `cmake --install` puts where (GNUInstallDirs under the prefix): the program, its menu entry,
# icon, file type, AppStream component, manual page, the sample tracks and the documents.
include(GNUInstallDirs)

# The release date that goes with PROJECT_VERSION, for the AppStream release and the changelog.
set(KALVORA_RELEASE_DATE "2026-12-07")
set(KALVORA_APP_ID "io.github.kalvora.Kalvora")  # the AppStream component's id
set(KALVORA_HOMEPAGE "https://github.com/kalvora/kalvora")

# The window icon is carried in the program (app/WindowIdentity.cpp), from the PNGs below.
set(KALVORA_ICON_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/WindowIcons.cpp)
add_custom_command(OUTPUT ${KALVORA_ICON_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/data/icons/kalvora-48.png -DOUT=WindowIcon48.cpp
          -DNAME=kWindowIcon48 -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/data/icons/kalvora-128.png -DOUT=WindowIcon128.cpp
          -DNAME=kWindowIcon128 -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
  COMMAND ${CMAKE_COMMAND} -E cat WindowIcon48.cpp WindowIcon128.cpp > ${KALVORA_ICON_SOURCE}
  DEPENDS data/icons/kalvora-48.png data/icons/kalvora-128.png cmake/EmbedFile.cmake
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} VERBATIM)
target_sources(kalvora_core PRIVATE ${KALVORA_ICON_SOURCE})
find_library(FLTK_IMAGES_LIBRARY fltk_images REQUIRED)  # decodes the window icon
target_link_libraries(kalvora_core PUBLIC ${FLTK_IMAGES_LIBRARY})

# The manual page: the template with the version and the KEYS section made from the key list.
configure_file(data/kalvora.1.in kalvora.1.in @ONLY)
add_executable(man_page scripts/ManPage.cpp)
target_link_libraries(man_page PRIVATE kalvora_core)
add_custom_command(OUTPUT kalvora.1
  COMMAND man_page ${CMAKE_CURRENT_BINARY_DIR}/kalvora.1.in kalvora.1
  DEPENDS man_page ${CMAKE_CURRENT_BINARY_DIR}/kalvora.1.in VERBATIM)
add_custom_target(manual ALL DEPENDS kalvora.1)

configure_file(data/kalvora.metainfo.xml.in ${KALVORA_APP_ID}.metainfo.xml @ONLY)

install(TARGETS kalvora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/kalvora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/icons/kalvora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES data/icons/kalvora-${size}.png RENAME kalvora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES data/kalvora.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KALVORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kalvora.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY tracks/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kalvora/tracks FILES_MATCHING PATTERN "*.trk")
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvora)
# The README's pages and pictures, so that its links hold in the installed folder too.
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvora/docs
        FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
