# zelk_windows_resources(TARGET DESCRIPTION): gives a Windows program its
# manifest (the UTF-8 code page, the system's controls), the icon and its
# version information.
set(ZELK_WINDOWS_PACKAGING ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)

# The icon, in the sizes Windows shows, from the program's PNG images.
find_program(ICOTOOL icotool REQUIRED)
set(ZELK_WINDOWS_ICON ${CMAKE_BINARY_DIR}/zelk.ico)
set(icon_images)
foreach(size IN ITEMS 256 64 48 32)
    list(APPEND icon_images ${CMAKE_CURRENT_LIST_DIR}/../app/icons/zelk-${size}.png)
endforeach()
add_custom_command(OUTPUT ${ZELK_WINDOWS_ICON}
    COMMAND ${ICOTOOL} -c -o ${ZELK_WINDOWS_ICON} ${icon_images}
    DEPENDS ${icon_images}
    COMMENT "Making the program icon")
add_custom_target(zelk_icon DEPENDS ${ZELK_WINDOWS_ICON})

function(zelk_windows_resources target description)
    set(name ${target})
    set(manifest ${ZELK_WINDOWS_PACKAGING}/zelk.manifest)
    set(icon ${ZELK_WINDOWS_ICON})
    set(major ${PROJECT_VERSION_MAJOR})
    set(minor ${PROJECT_VERSION_MINOR})
    set(patch ${PROJECT_VERSION_PATCH})
    set(version ${PROJECT_VERSION})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${ZELK_WINDOWS_PACKAGING}/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${manifest};${ZELK_WINDOWS_ICON}")
    add_dependencies(${target} zelk_icon)
endfunction()
