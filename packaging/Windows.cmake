# Windows, included by Install.cmake: the program with its icon and its details, Qt's DLLs and
# plugins beside it (deployed at install), the compiler's runtime libraries, and a ZIP of that folder,
# plus an installer with a Start menu entry where NSIS is found. `cmake --workflow --preset
# windows-package` (CMakePresets.json) configures, builds, tests and packs.

# The icon and the version details, compiled into the program.
enable_language(RC)
configure_file(packaging/app.rc.in app.rc @ONLY)
target_sources(dravosetup PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/app.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/app.rc PROPERTIES OBJECT_DEPENDS ${ICON_DIR}/${APP_ID}.ico)

# Qt's DLLs, platform plugin and styles, copied beside the installed program.
if(Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
  qt_generate_deploy_app_script(TARGET dravosetup OUTPUT_SCRIPT QT_DEPLOY_SCRIPT NO_TRANSLATIONS NO_COMPILER_RUNTIME)
  install(SCRIPT ${QT_DEPLOY_SCRIPT})
else()
  find_program(WINDEPLOYQT windeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
  if(NOT WINDEPLOYQT)
    message(WARNING "windeployqt not found beside Qt: installing and packing will fail")
  endif()
  # The tool loads no translations; the compiler's runtime comes below.
  install(CODE "execute_process(COMMAND \"${WINDEPLOYQT}\" --no-translations --no-compiler-runtime
                \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${APP_PROGRAM}.exe\" COMMAND_ERROR_IS_FATAL ANY)")
endif()

# The compiler's runtime: Visual C++'s through CMake's own list, MinGW's from where the compiler
# keeps it (its own folder, or where it finds its libraries).
if(MINGW)
  get_filename_component(COMPILER_DIR ${CMAKE_CXX_COMPILER} DIRECTORY)
  foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(found ${found} DIRECTORY)
    find_file(RUNTIME_${dll} ${dll} HINTS ${COMPILER_DIR} ${found} NO_CMAKE_FIND_ROOT_PATH)
    if(RUNTIME_${dll})
      list(APPEND CMAKE_INSTALL_SYSTEM_RUNTIME_LIBS ${RUNTIME_${dll}})
    else()
      message(WARNING "${dll} not found beside the compiler: the package will need it on the PATH")
    endif()
  endforeach()
endif()
set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
include(InstallRequiredSystemLibraries)

# A ZIP to unpack anywhere; an installer with a Start menu entry and an uninstaller where NSIS is.
set(CPACK_GENERATOR ZIP)
find_program(MAKENSIS makensis PATHS "$ENV{ProgramFiles}/NSIS" "$ENV{ProgramFiles\(x86\)}/NSIS")
if(MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
endif()
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${APP_NAME}")
set(CPACK_PACKAGE_EXECUTABLES ${APP_PROGRAM} "${APP_NAME}") # the Start menu entry
set(CPACK_NSIS_DISPLAY_NAME "${APP_NAME}")
set(CPACK_NSIS_PACKAGE_NAME "${APP_NAME}")
set(CPACK_NSIS_MUI_ICON ${ICON_DIR}/${APP_ID}.ico)
set(CPACK_NSIS_MUI_UNIICON ${ICON_DIR}/${APP_ID}.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME ${CMAKE_INSTALL_BINDIR}/${APP_PROGRAM}.exe)
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
