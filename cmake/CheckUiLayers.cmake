# Fails when the desktop reaches the store itself or its feature folders include each other upward.
#  - vantor_ui links neither the store nor Qt Sql directly, and no file of ui/ (its tests aside, which
#    fill databases) includes a store/ header or names a connection type: the desktop passes the
#    session (CAppData) or an app/ editor to the use cases of app/, which alone hold the connection.
#  - The feature folders depend one way: common/ includes no other folder; views/, setup/, sync/ and
#    report/ include common/ and themselves only; window/ (the menus) and main.cpp include any.
cmake_minimum_required(VERSION 3.25)
file(READ ${LINKS_FILE} links)
string(STRIP "${links}" links)
foreach(lib IN LISTS links)
    if(lib MATCHES "^(vantor_store|Qt6::Sql)$")
        message(FATAL_ERROR "vantor_ui links ${lib} directly; the desktop reaches the store through app/")
    endif()
endforeach()

set(connection_names QSqlDatabase CMainConnection CRecordSyncConnection SqlConnection "MainConnection\\(")
set(features views setup sync report)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(source IN LISTS sources)
    if(source MATCHES "^tests/")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} lines)
    string(REGEX MATCH "^[^/]+" folder "${source}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]store/")
            message(FATAL_ERROR "ui/${source} includes a store header: ${line}")
        endif()
        foreach(name IN LISTS connection_names)
            if(line MATCHES "(^|[^A-Za-z0-9_])${name}")
                message(FATAL_ERROR "ui/${source} names the store's connection (${name}): ${line}")
            endif()
        endforeach()
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"ui/([a-z]+)/")
            set(included ${CMAKE_MATCH_1})
            if(NOT included STREQUAL folder AND NOT included STREQUAL "common"
               AND (folder STREQUAL "common" OR folder IN_LIST features))
                message(FATAL_ERROR "ui/${source} includes ui/${included}/; ${folder}/ may include common/ only")
            endif()
        endif()
    endforeach()
endforeach()
message(STATUS "vantor_ui links ${links}; ui/ reaches no store header or connection and its folders depend one way")
