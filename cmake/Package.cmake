# What `cmake --install` lays down and how CPack makes the Debian package of it.
# The package holds the four programs, the data folder's defaults (read-only;
# each user's folder is made from them at first start), the service's content,
# the browser extension with its native-messaging hosts, and the desktop entry.
include(GNUInstallDirs)

# Installing packs what scripts/package built; it builds nothing itself.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(MLDD_SHARE ${CMAKE_INSTALL_DATADIR}/mldd)
# The browsers start the launcher by its path in the package, which installs under /usr.
set(MLDD_BINDIR /usr/bin)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS mldd mldd-cli mldd-do mldd-service RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(file IN LISTS MLDD_DEFAULT_FILES)
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${file} DESTINATION ${MLDD_SHARE}/data/${folder})
endforeach()
install(FILES ${MLDD_DEFAULTS_MANIFEST} DESTINATION ${MLDD_SHARE})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/service/content/ DESTINATION ${MLDD_SHARE}/service/content)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${MLDD_SHARE}/service/content/samples)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/extension/ DESTINATION ${MLDD_SHARE}/extension)
# The user guide, with the pictures of the windows scripts/screenshot took for it.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${MLDD_SHARE}/help)
# The service's help pages serve the same pictures: the software centre's screenshots come from there.
foreach(guide ${MLDD_SHARE}/help ${MLDD_SHARE}/service/content/help)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/out/windows/ DESTINATION ${guide}/images
          OPTIONAL FILES_MATCHING PATTERN "*.png")
endforeach()
# The service's template board offers what the program ships (NAME.mlg.txt, NAME.mlm.txt).
file(GLOB board_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/Delivery/*)
foreach(file IN LISTS board_files)
  get_filename_component(name ${file} NAME)
  install(FILES ${file} DESTINATION ${MLDD_SHARE}/service/content/board RENAME ${name}.txt)
endforeach()

# The browsers start mldd-do for the extension's context-menu entry, for every user; its ids
# and version are the ones in the extension's manifest.
file(READ ${CMAKE_SOURCE_DIR}/extension/manifest.json extension_manifest)
string(JSON extension_version GET ${extension_manifest} version)
string(JSON firefox_extension GET ${extension_manifest} browser_specific_settings gecko id)
set(chromium_extension pbelplpcjkjhhflgbpleghkhflgmdhnp)
function(mldd_native_host output key value)
  set(MLDD_ALLOWED_KEY ${key})
  set(MLDD_ALLOWED_VALUE ${value})
  configure_file(${packaging}/native-host.json.in ${output} @ONLY)
endfunction()
mldd_native_host(${generated}/chromium/com.molan.mldd.json allowed_origins
                 "chrome-extension://${chromium_extension}/")
mldd_native_host(${generated}/firefox/com.molan.mldd.json allowed_extensions ${firefox_extension})
install(FILES ${generated}/chromium/com.molan.mldd.json
        DESTINATION /etc/chromium/native-messaging-hosts)
install(FILES ${generated}/chromium/com.molan.mldd.json DESTINATION ${MLDD_SHARE}/chrome)
install(FILES ${generated}/firefox/com.molan.mldd.json
        DESTINATION lib/mozilla/native-messaging-hosts)
# Chromium and Chrome install the signed extension that these notes name at their next start,
# in every profile, without developer mode.
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/extension.crx DESTINATION ${MLDD_SHARE})
set(MLDD_EXTENSION_CRX /usr/share/mldd/extension.crx)
configure_file(${packaging}/external-extension.json.in
               ${generated}/external/${chromium_extension}.json @ONLY)
install(FILES ${generated}/external/${chromium_extension}.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/chromium/extensions)
install(FILES ${generated}/external/${chromium_extension}.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/google-chrome/extensions)

# Desktop entry, icons, print-file types and the software centre's description.
install(FILES ${packaging}/com.molan.mldd.desktop ${packaging}/com.molan.mldd.open.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging}/com.molan.mldd.metainfo.xml ${generated}/com.molan.mldd.metainfo.xml @ONLY)
install(FILES ${generated}/com.molan.mldd.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/mldd-print-files.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME com.molan.mldd.xml)
install(FILES ${packaging}/icons/com.molan.mldd.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${packaging}/icons/${size}/com.molan.mldd.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian's documents: the copyright and the changelog, compressed without a time stamp.
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${generated}/changelog OUTPUT_FILE ${generated}/changelog.gz)
install(FILES ${packaging}/copyright ${generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mldd)
file(WRITE ${generated}/conffiles "/etc/chromium/native-messaging-hosts/com.molan.mldd.json\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mldd)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "墨岚打单 <mldd@molan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "order capture and waybill printing for online sellers")
set(CPACK_PACKAGE_DESCRIPTION
    "墨岚打单 collects the orders a seller must ship (captured from order pages,\nimported from spreadsheets or typed in), keeps them in SQLite or a shared\nPostgreSQL store, and prints each order's courier waybill and shipping list\non CUPS printers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mldd.molan.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "cups-client, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "chromium, libqt6sql6-psql, printer-driver-cups-pdf")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${generated}/conffiles ${packaging}/postinst ${packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
