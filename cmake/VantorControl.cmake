# vantor_control(Name SOURCES ... [QT Widgets ...]): a reusable widget control as a shared library.
# Public headers live in include/<Name>/ (included as <Name/Header.h>); the export macro header
# <Name/<name>_export.h> is generated into the build tree. A control links Qt only: a check run by
# CTest fails if the control's link line names any of the application's vantor_* libraries.
include(GenerateExportHeader)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

function(vantor_control name)
    cmake_parse_arguments(ARG "" "" "SOURCES;QT" ${ARGN})
    add_library(${name} SHARED ${ARG_SOURCES})
    string(TOLOWER ${name} lower)
    generate_export_header(${name}
        BASE_NAME ${name}
        EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/include/${name}/${lower}_export.h)
    target_include_directories(${name}
        PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
               $<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}/include>
               $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
        PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    set(qt_libs Qt6::Core Qt6::Gui Qt6::Widgets)
    foreach(component IN LISTS ARG_QT)
        list(APPEND qt_libs Qt6::${component})
    endforeach()
    target_link_libraries(${name} PUBLIC ${qt_libs})
    set_target_properties(${name} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})
    vantor_warnings(${name})

    vantor_install_control(${name})

    # The link line as CMake resolves it, checked by a test: a control depends on nothing of the
    # application.
    set(links_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_links.txt)
    file(GENERATE OUTPUT ${links_file}
         CONTENT "$<TARGET_PROPERTY:${name},LINK_LIBRARIES>;$<TARGET_PROPERTY:${name},INTERFACE_LINK_LIBRARIES>\n")
    add_test(NAME ${name}_links_qt_only
             COMMAND ${CMAKE_COMMAND} -DLINKS_FILE=${links_file} -DCONTROL=${name}
                     -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckControlLinks.cmake)
endfunction()

# Installs a control for other programs' builds: the library (runtime in the library component,
# the development symlink with the headers), its public headers and export header, a CMake package
# (find_package(<Name>) gives the imported target <Name>::<Name>) and a pkg-config file.
function(vantor_install_control name)
    string(TOLOWER ${name} lower)
    install(TARGETS ${name} EXPORT ${name}Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT controls NAMELINK_COMPONENT controlsdev
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/include/${name}
                      ${CMAKE_CURRENT_BINARY_DIR}/include/${name}
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT controlsdev)
    set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${name})
    install(EXPORT ${name}Targets NAMESPACE ${name}:: DESTINATION ${package_dir}
            COMPONENT controlsdev)
    set(CONTROL_NAME ${name})
    configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VantorControlConfig.cmake.in
        ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake INSTALL_DESTINATION ${package_dir})
    write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake
        VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake
                  ${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake
            DESTINATION ${package_dir} COMPONENT controlsdev)
    # The pkg-config file names its folders relative to its own place, so the package can move.
    set(CONTROL_LIB ${name})
    file(RELATIVE_PATH PC_PREFIX_FROM_FILE "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
    string(REGEX REPLACE "/$" "" PC_PREFIX_FROM_FILE "${PC_PREFIX_FROM_FILE}")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VantorControl.pc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${lower}.pc @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${lower}.pc
            DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT controlsdev)
endfunction()
