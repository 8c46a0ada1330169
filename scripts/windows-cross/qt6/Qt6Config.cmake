# Stands in for Qt 6 for Windows when the project is configured for Windows on this machine, which
# has no Qt for Windows: the modules the project asks for as imported DLLs whose files are empty (so
# nothing links, but the build finds what it depends on), with this machine's Qt headers
# (QT_HEADERS) and its moc (MOC).
set(QT_HEADERS /usr/include/x86_64-linux-gnu/qt6 CACHE PATH "Qt 6 headers")
set(MOC /usr/lib/qt6/libexec/moc CACHE FILEPATH "Qt 6 moc")
set(Qt6_VERSION 6.4.2)
set(QT_VERSION ${Qt6_VERSION})
set(QT_VERSION_MAJOR 6)
set(Qt6Core_VERSION_MAJOR 6)
set(Qt6Core_VERSION_MINOR 4)
set(QT6_INSTALL_PREFIX ${CMAKE_BINARY_DIR}/stand-in-qt)
set(QT6_INSTALL_BINS bin)
file(MAKE_DIRECTORY ${QT6_INSTALL_PREFIX}/bin ${QT6_INSTALL_PREFIX}/lib)

foreach(module Core Gui Widgets SerialPort Svg Test)
  string(TOUPPER ${module} upper)
  file(TOUCH ${QT6_INSTALL_PREFIX}/bin/Qt6${module}.dll ${QT6_INSTALL_PREFIX}/lib/libQt6${module}.a)
  add_library(Qt6::${module} SHARED IMPORTED)
  set_target_properties(Qt6::${module} PROPERTIES
    IMPORTED_LOCATION ${QT6_INSTALL_PREFIX}/bin/Qt6${module}.dll
    IMPORTED_IMPLIB ${QT6_INSTALL_PREFIX}/lib/libQt6${module}.a
    INTERFACE_INCLUDE_DIRECTORIES "${QT_HEADERS};${QT_HEADERS}/Qt${module}"
    INTERFACE_COMPILE_DEFINITIONS QT_${upper}_LIB)
  set(Qt6${module}_FOUND TRUE)
endforeach()
# What Qt's own Core target gives a MinGW program.
set_property(TARGET Qt6::Core APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS
             UNICODE _UNICODE WIN32 MINGW_HAS_SECURE_API=1)
set_target_properties(Qt6::Core PROPERTIES INTERFACE_QT_MAJOR_VERSION 6)
set_property(TARGET Qt6::Core APPEND PROPERTY COMPATIBLE_INTERFACE_STRING QT_MAJOR_VERSION)
set_property(TARGET Qt6::Gui APPEND PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Core)
set_property(TARGET Qt6::Widgets APPEND PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Gui)
set_property(TARGET Qt6::SerialPort Qt6::Test APPEND PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Core)
set_property(TARGET Qt6::Svg APPEND PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Gui)
add_executable(Qt6::moc IMPORTED)
set_target_properties(Qt6::moc PROPERTIES IMPORTED_LOCATION ${MOC})

macro(qt_standard_project_setup)
  set(CMAKE_AUTOMOC ON)
endmacro()
set(Qt6_FOUND TRUE)
