# varnoth-render-icons turns the pixel-art window icon into the PNG sizes that desktops look
# up in the hicolor theme; the packaging folder installs them from VARNOTH_ICON_DIR.
add_executable(varnoth-render-icons ${CMAKE_CURRENT_LIST_DIR}/render-icons.cpp)
target_link_libraries(varnoth-render-icons PRIVATE Qt6::Gui Qt6::Svg)

set(VARNOTH_ICON_SIZES 16 22 24 32 48 64 128 256 CACHE INTERNAL "Sizes of the PNG icons")
set(VARNOTH_ICON_DIR ${PROJECT_BINARY_DIR}/icons CACHE INTERNAL "Where the PNG icons are made")
set(VARNOTH_ICON_SOURCE ${PROJECT_SOURCE_DIR}/assets/pictures/window-icon.svg)

set(icon_files)
foreach(size IN LISTS VARNOTH_ICON_SIZES)
    list(APPEND icon_files ${VARNOTH_ICON_DIR}/${size}x${size}.png)
endforeach()
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:varnoth-render-icons> ${VARNOTH_ICON_SOURCE} ${VARNOTH_ICON_DIR}
            ${VARNOTH_ICON_SIZES}
    DEPENDS varnoth-render-icons ${VARNOTH_ICON_SOURCE}
    COMMENT "Rendering the window icon to PNG"
    VERBATIM)
add_custom_target(varnoth_icons ALL DEPENDS ${icon_files})
