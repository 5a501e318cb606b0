# The static library tessel_assets (fonts and images). generated/tessel_fonts
# and generated/images each build an object library of their own (a custom
# command's outputs can only feed targets of its own directory) and add its
# objects here; whichever comes first includes this file.
include_guard(GLOBAL)

add_library(tessel_assets STATIC)
# The core's headers come with tessel::lvgl: the bundled core's folder, or in
# system mode the installed library's (the bundled folder must then stay off
# the path, or its lvgl.h would be read instead of the real one).
target_include_directories(tessel_assets PUBLIC
  ${CMAKE_CURRENT_LIST_DIR}            # tessel_images.h
  ${PROJECT_SOURCE_DIR})
target_compile_definitions(tessel_assets PUBLIC LV_LVGL_H_INCLUDE_SIMPLE LV_CONF_INCLUDE_SIMPLE)
target_link_libraries(tessel_assets PUBLIC tessel::lvgl)
# The archive needs nothing from the core to be built: let it (and the
# objects below) build alongside the core instead of after it.
set_target_properties(tessel_assets PROPERTIES OPTIMIZE_DEPENDENCIES ON)

# Object libraries of the assets see the core's headers without waiting for
# the core to be built.
function(tessel_asset_objects target)
  target_include_directories(${target} PRIVATE
    $<TARGET_PROPERTY:tessel::lvgl,INTERFACE_INCLUDE_DIRECTORIES>
    ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE LV_LVGL_H_INCLUDE_SIMPLE LV_CONF_INCLUDE_SIMPLE)
  target_sources(tessel_assets PRIVATE $<TARGET_OBJECTS:${target}>)
endfunction()
