# The Debian package (./dev package, or `cpack` in the build folder): what the install
# rules put under the prefix, installed under /usr, with dependencies computed from the
# binaries and the version of the project.
include(GNUInstallDirs)

set(ORDEXA_MAINTAINER "KALVOR Soft <ordexa@kalvorsoft.mx>")
string(TIMESTAMP ORDEXA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

# The files Debian asks of every package: the copyright, the licence it points to, and
# the changelog compressed as policy wants it (gzip -9, no name or time inside).
set(ORDEXA_DEB_DOC ${CMAKE_INSTALL_DATADIR}/doc/ordexa)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/packaging-deb/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging-deb/changelog)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_SOURCE_DIR}/packaging/licencia.txt
              ${CMAKE_BINARY_DIR}/packaging-deb/changelog.gz
        DESTINATION ${ORDEXA_DEB_DOC})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ordexa)
set(CPACK_PACKAGE_VENDOR "KALVOR Soft")
set(CPACK_PACKAGE_CONTACT "${ORDEXA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kalvorsoft.mx/ordexa")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: Qt's platform plugins to show a window, the metric twins
# of the fonts the forms are measured in, and Qt's own dialogs in Spanish.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, cups-client")
# CPack writes the summary as the first line of the description and the text below it
# as its body (a blank line there becomes a paragraph break).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fill in pre-printed paper forms / llena formas preimpresas")
set(CPACK_PACKAGE_DESCRIPTION "Ordexa prints data onto pre-printed paper forms: tax and social-security
declarations, cheques, invoices and report cards. Draw once where each field
of the paper lies; from then on type the data on a capture screen and print
only the data, aligned to the paper. Calculated fields add, multiply and total
table columns, and write amounts in words in Mexican pesos. The package holds
the program, the ordexa-cli command-line tool, the Spanish help and sample
formats.

Ordexa imprime datos sobre formas preimpresas: declaraciones de impuestos y
del seguro social, cheques, facturas y boletas. Dibuje una vez dónde queda
cada dato del papel; desde entonces escriba los datos en una pantalla de
captura e imprima solo los datos, alineados con el papel. Los campos
calculados suman, multiplican, totalizan columnas y escriben cantidades con
letra en pesos mexicanos. El paquete trae el programa, la herramienta de línea
de comandos ordexa-cli, la ayuda en español y formatos de ejemplo.")
include(CPack)
