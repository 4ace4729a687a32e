# vantor_control(Name SOURCES ... [QT Widgets ...]): a reusable widget control as a shared library.
# Public headers live in include/<Name>/ (included as <Name/Header.h>); the export macro header
# <Name/<name>_export.h> is generated into the build tree. A control links Qt only: a check run by
# CTest fails if the control's link line names any of the application's vantor_* libraries.
include(GenerateExportHeader)

function(vantor_control name)
    cmake_parse_arguments(ARG "" "" "SOURCES;QT" ${ARGN})
    add_library(${name} SHARED ${ARG_SOURCES})
    string(TOLOWER ${name} lower)
    generate_export_header(${name}
        BASE_NAME ${name}
        EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/include/${name}/${lower}_export.h)
    target_include_directories(${name}
        PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include ${CMAKE_CURRENT_BINARY_DIR}/include
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
