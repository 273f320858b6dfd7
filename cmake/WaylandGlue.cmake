# driftmark_wayland_glue(TARGET XML...): a static library of the client glue that wayland-scanner writes
# for the given protocol descriptions (C, compiled without the project's warnings), whose headers are on
# the include path of whatever links it.
function(driftmark_wayland_glue target)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target})
    set(glue)
    foreach(protocol IN LISTS ARGN)
        get_filename_component(name ${protocol} NAME_WE)
        set(header ${dir}/${name}-client-protocol.h)
        set(code ${dir}/${name}-protocol.c)
        add_custom_command(OUTPUT ${header} ${code}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
            COMMAND ${WAYLAND_SCANNER_EXECUTABLE} client-header ${protocol} ${header}
            COMMAND ${WAYLAND_SCANNER_EXECUTABLE} private-code ${protocol} ${code}
            DEPENDS ${protocol}
            COMMENT "Generating the client glue of ${name}"
            VERBATIM)
        list(APPEND glue ${header} ${code})
    endforeach()
    add_library(${target} STATIC ${glue})
    target_include_directories(${target} PUBLIC ${dir})
    target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
