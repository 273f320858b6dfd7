# Run by CPack before it makes the .deb (CPACK_PROJECT_CONFIG_FILE): the Debian packages that hold the QML
# modules the settings views import, with every module those import in turn, are added to the package's
# Depends. No linker sees these modules, and a missing one shows only when a window is opened, so they are
# read from the views with Qt's qmlimportscanner rather than listed by hand.
execute_process(
    COMMAND "${CPACK_DRIFTMARK_QMLIMPORTSCANNER}" -rootPath "${CPACK_DRIFTMARK_QML_SOURCES}"
            -importPath "${CPACK_DRIFTMARK_QT_QML_DIR}"
    OUTPUT_VARIABLE imports
    ERROR_VARIABLE scanner_errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "qmlimportscanner failed on ${CPACK_DRIFTMARK_QML_SOURCES}: ${scanner_errors}")
endif()

set(paths "")
set(absent "")
string(JSON count LENGTH "${imports}")
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
    string(JSON type ERROR_VARIABLE no_type GET "${imports}" ${index} type)
    string(JSON name ERROR_VARIABLE no_name GET "${imports}" ${index} name)
    if(no_type OR no_name OR NOT type STREQUAL "module")
        continue()
    endif()
    string(JSON path ERROR_VARIABLE no_path GET "${imports}" ${index} path)
    if(NOT no_path)
        list(APPEND paths "${path}/qmldir")
    elseif(NOT name STREQUAL "Driftmark")
        # Driftmark is the views' own module, which the settings library registers itself; the others
        # are another platform's styles, or what only a style the views do not use imports.
        list(APPEND absent ${name})
    endif()
endforeach()
if(NOT paths)
    message(FATAL_ERROR "qmlimportscanner found no QML module in ${CPACK_DRIFTMARK_QML_SOURCES}")
endif()
if(absent)
    list(JOIN absent ", " absent)
    message(STATUS "QML modules left out of Depends, as this machine has none of them: ${absent}")
endif()

execute_process(COMMAND dpkg-query --search ${paths}
                OUTPUT_VARIABLE owners ERROR_VARIABLE owner_errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "no Debian package holds some of the QML modules the views import: ${owner_errors}")
endif()
# One line per file, "qml6-module-qtquick:amd64: /usr/lib/.../qmldir"; a diverted file names several
# packages, the first of which holds it.
string(REPLACE "\n" ";" owners "${owners}")
set(packages "")
foreach(line IN LISTS owners)
    string(REGEX REPLACE "[:,].*" "" package "${line}")
    if(package)
        list(APPEND packages ${package})
    endif()
endforeach()
list(REMOVE_DUPLICATES packages)
list(SORT packages)
list(JOIN packages ", " qml_packages)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${qml_packages}")
