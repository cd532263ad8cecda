# Installation and the Debian package.
#
# Layout under the prefix (normally /usr):
#   bin/rp_tarifario                          the program
#   lib/rp_tarifario/rpsqlext.so              SQL Server functions for SQLite (ODBC LoadExt)
#   share/rp_tarifario/templates/*.rpt        report templates (copied into demo folders)
#   share/rp_tarifario/sql/*.sql              schema and procedure of the demo databases
#   share/applications/rp_tarifario.desktop   applications menu entry
#   share/icons/hicolor/scalable/apps/rp_tarifario.svg
#   share/metainfo/org.rptarifario.rp_tarifario.metainfo.xml
#
# The installed program writes nothing below the prefix: "--demo" builds its
# folder in the user's data folder (~/.local/share/rp_tarifario/...).
include(GNUInstallDirs)

set(RP_DATOS_INSTALADOS ${CMAKE_INSTALL_DATADIR}/rp_tarifario)

install(TARGETS rp_tarifario RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS rp_sqlext LIBRARY DESTINATION lib/rp_tarifario)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/templates/ DESTINATION ${RP_DATOS_INSTALADOS}/templates
    FILES_MATCHING PATTERN "*.rpt")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/sql/ DESTINATION ${RP_DATOS_INSTALADOS}/sql
    FILES_MATCHING PATTERN "*.sql")
install(FILES ${CMAKE_SOURCE_DIR}/data/rp_tarifario.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/rp_tarifario.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/org.rptarifario.rp_tarifario.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian package (scripts/package.sh). Debian package names take no "_".
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rp-tarifario)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "rp_tarifario <rp_tarifario@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Price-history reports of the business-management suite")
set(CPACK_PACKAGE_DESCRIPTION "Lists article price changes in three reports (by price list, \
by date, last cost change) from the company database: SQL Server or Oracle through ODBC, or a \
local SQLite database that also serves as the demo.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Dependencies: the libraries of the linked objects (Qt, SQLite, unixODBC and its
# installer library, inih), found by dpkg-shlibdeps; drivers are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsqliteodbc, odbc-postgresql")
set(CPACK_STRIP_FILES ON)
include(CPack)
