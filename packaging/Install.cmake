# Installs the tool like a desktop application (program, desktop entry, icons, AppStream metadata)
# and packs that as a Debian package (`make package`); on Windows packaging/Windows.cmake installs
# and packs it instead. Tests, benchmarks, the simulator and the build-time tools are never installed.
include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the icon and the metadata, so desktops match them.
set(APP_ID com.tarsel.DravometerSetup)
set(APP_NAME "Dravometer Setup")
set(APP_PROGRAM dravometer-setup)
set(APP_VENDOR "Tarsel")
set(ICON_SIZES 16 32 48 64 128 256)
# The settings files' own type, so that a file manager opens them with the tool.
set(APP_MIME_TYPE application/x-dravometer-settings)
# The package's version: the project's, with the Debian revision of its packaging.
set(APP_DEB_REVISION 1)
set(APP_DEB_VERSION ${PROJECT_VERSION}-${APP_DEB_REVISION})
set(CPACK_PACKAGE_CONTACT "Tarsel Dravometer Setup maintainers <setup@tarsel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set-up tool for Dravometer electromagnetic flow sensors")

set_target_properties(dravosetup PROPERTIES OUTPUT_NAME ${APP_PROGRAM})
# Lets the window name its desktop entry, so a Wayland desktop shows the entry's icon and name.
target_compile_definitions(dravosetup PRIVATE APP_ID="${APP_ID}")
install(TARGETS dravosetup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Stripped as Debian strips: without the compiler's notes either.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${APP_PROGRAM}\")
endif()")

# Debian's hardening flags for the program's own code; not in a sanitizer build, whose checks they overlap.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(HARDENING_${kind} UNIX_COMMAND "${flags}")
  endforeach()
  foreach(target dravo dravosetup)
    target_compile_options(${target} PRIVATE ${HARDENING_CPPFLAGS} ${HARDENING_CXXFLAGS})
  endforeach()
  target_link_options(dravosetup PRIVATE ${HARDENING_LDFLAGS})
endif()

# The desktop entry, metadata, MIME type and Debian's documents are for freedesktop systems.
if(NOT WIN32)
  configure_file(packaging/app.desktop.in ${APP_ID}.desktop @ONLY)
  configure_file(packaging/app.metainfo.xml.in ${APP_ID}.metainfo.xml @ONLY)
  configure_file(packaging/app.mime.xml.in mime/${APP_ID}.xml @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/mime/${APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

  # Debian's documents: the copyright in machine-readable form and the changelog of the package.
  set(DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${APP_PROGRAM})
  execute_process(COMMAND date -uR -d ${APP_RELEASE_DATE} OUTPUT_VARIABLE APP_RELEASE_DATE_RFC2822
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  configure_file(packaging/copyright.in copyright @ONLY)
  configure_file(packaging/changelog.Debian.in changelog.Debian @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
          DESTINATION ${DOC_DIR})
  add_custom_command(OUTPUT changelog.Debian.gz COMMAND gzip -9nkf changelog.Debian
                     DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian VERBATIM)
  set(DEBIAN_DOCS changelog.Debian.gz)
  # The manual page, from the program's own --help and --version and the files it names.
  find_program(HELP2MAN help2man)
  set(MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/${APP_PROGRAM}.1)
  if(HELP2MAN)
    add_custom_command(OUTPUT ${MAN_PAGE}.gz
                       # Without a display, as --help and --version need none (a window would never end).
                       COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                               ${HELP2MAN} --no-info --section=1 --name=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
                               --include=${CMAKE_CURRENT_SOURCE_DIR}/packaging/manpage.h2m
                               --output=${MAN_PAGE} $<TARGET_FILE:dravosetup>
                       COMMAND gzip -9nf ${MAN_PAGE}
                       DEPENDS dravosetup packaging/manpage.h2m VERBATIM)
    install(FILES ${MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND DEBIAN_DOCS ${MAN_PAGE}.gz)
  else()
    message(STATUS "help2man not found: no manual page (scripts/install-deps.sh package installs it)")
  endif()
  add_custom_target(debian_docs ALL DEPENDS ${DEBIAN_DOCS})
  install(FILES packaging/lintian-overrides RENAME ${APP_PROGRAM} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
endif()

# The icons (an SVG, a PNG for each size, a Windows .ico of them all) are drawn at build time by the
# same code as the window's icon; on Windows the drawing program finds Qt's DLLs on PATH.
add_executable(dravoicons tools/icons_main.cpp)
target_link_libraries(dravoicons PRIVATE dravo Qt6::Svg)
set(ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(ICON_FILES ${ICON_DIR}/${APP_ID}.svg ${ICON_DIR}/${APP_ID}.ico)
foreach(side ${ICON_SIZES})
  list(APPEND ICON_FILES ${ICON_DIR}/${side}.png)
  if(NOT WIN32) # the hicolor theme of freedesktop systems
  install(FILES ${ICON_DIR}/${side}.png RENAME ${APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
  endif()
endforeach()
set(QT_DLL_PATH)
if(WIN32)
  set(QT_DLL_PATH --modify PATH=path_list_prepend:$<TARGET_FILE_DIR:Qt6::Core>)
endif()
# A cross build cannot run the program it builds: it takes the icons a native build drew.
set(DRAVO_ICONS_FROM "" CACHE PATH "For a cross build: the icons folder of a native build")
if(DRAVO_ICONS_FROM)
  add_custom_command(OUTPUT ${ICON_FILES} COMMAND ${CMAKE_COMMAND} -E copy_directory ${DRAVO_ICONS_FROM} ${ICON_DIR}
                     DEPENDS ${DRAVO_ICONS_FROM}/${APP_ID}.ico VERBATIM)
else()
  add_custom_command(OUTPUT ${ICON_FILES}
                     COMMAND ${CMAKE_COMMAND} -E env ${QT_DLL_PATH} QT_QPA_PLATFORM=offscreen
                           $<TARGET_FILE:dravoicons> ${ICON_DIR} ${APP_ID} ${ICON_SIZES}
                   DEPENDS dravoicons VERBATIM)
endif()
add_custom_target(icons ALL DEPENDS ${ICON_FILES})
if(NOT WIN32)
  install(FILES ${ICON_DIR}/${APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The Debian package; its dependencies come from the libraries the program links (dpkg-shlibdeps):
# libqt6gui6 holds the X11 and offscreen platform plugins, qt6-wayland the Wayland one.
# Windows gets a ZIP (and an installer where NSIS is found) instead.
if(WIN32)
  include(packaging/Windows.cmake)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_PACKAGE_NAME ${APP_PROGRAM})
set(CPACK_PACKAGE_VENDOR ${APP_VENDOR})
set(CPACK_PACKAGE_DESCRIPTION
    "Finds the 7-0410 serial adaptor on the PC's serial ports, identifies the\n\
7-6610 or 7-6620 Dravometer behind it, reads its settings into one window in\n\
the technician's units, checks and writes them back, keeps them in .bdf\n\
settings files and restores the factory performance and loop settings.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${APP_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)

# `make test` checks the package as a technician gets it. Only in the normal build: the sanitizer
# build's program is not what anyone installs.
option(DRAVO_PACKAGE_TEST "Check the Debian package in the test run" ON)
find_program(DPKG_DEB dpkg-deb)
if(DRAVO_PACKAGE_TEST AND DPKG_DEB AND NOT WIN32)
  add_test(NAME package COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_package.sh ${CMAKE_CPACK_COMMAND}
                                ${CMAKE_CURRENT_BINARY_DIR} ${APP_ID} ${APP_PROGRAM})
  # lintian takes most of it: some 15 s alone, over a minute on a busy machine.
  set_tests_properties(package PROPERTIES TIMEOUT 300)
endif()
