# The desktop program as a citizen of the Linux desktop: its menu entry (with
# the file types it opens), icon, AppStream description, file types and manual
# pages, each in its freedesktop.org place under the installation prefix.
include(GNUInstallDirs)

set(VELMAR_APP_ID org.velmar.EdidUtility)
set(VELMAR_DATA_DIR ${CMAKE_CURRENT_LIST_DIR})

if(TARGET velmar-edid-utility)
  install(FILES ${VELMAR_DATA_DIR}/${VELMAR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VELMAR_DATA_DIR}/${VELMAR_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${VELMAR_DATA_DIR}/${VELMAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${VELMAR_DATA_DIR}/${VELMAR_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ${VELMAR_APP_ID}.xml)
  install(FILES ${CMAKE_SOURCE_DIR}/docs/velmar-edid-utility.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The polkit actions of the privileged helper, which name its installed path.
if(TARGET velmar-edid-helper)
  configure_file(${VELMAR_DATA_DIR}/${VELMAR_APP_ID}.policy.in ${CMAKE_BINARY_DIR}/${VELMAR_APP_ID}.policy @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${VELMAR_APP_ID}.policy DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions)
endif()
