# Fails when a source includes a header of a layer above its own: the layers are static
# libraries, so such an include would otherwise build and link. Run by the build whenever a
# source changes, and by ctest:
#   cmake -DSOURCE_DIR=<repository> [-DSTAMP=<file to touch on success>] -P cmake/CheckLayers.cmake
#
# Each folder, and the folders besides its own whose headers it may include. A file may be
# named too, for what only it may include on top of its folder's list.
cmake_minimum_required(VERSION 3.25)

set(toolkit graphics platform resources toolkit/core toolkit/controls toolkit/menus toolkit/dialogs menu)
set(system ${toolkit} ruler toolbarkit widgets)
set(allow_graphics "")
set(allow_resources "")
set(allow_platform graphics)
set(allow_platform/virtual graphics platform)
set(allow_platform/dbus graphics platform)
set(allow_platform/portal graphics platform)
# Sounds through libcanberra, shared by the backends.
set(allow_platform/sound graphics platform)
set(allow_platform/x11 graphics platform platform/dbus platform/portal platform/sound)
# The Wayland backend borrows the X11 one's timer queue and launcher, which use no X11.
set(allow_platform/wayland graphics platform platform/dbus platform/portal platform/sound platform/x11)
set(allow_toolkit/core graphics platform resources)
set(allow_toolkit/controls graphics platform resources toolkit/core)
set(allow_toolkit/menus graphics platform resources toolkit/core)
set(allow_toolkit/dialogs graphics platform resources toolkit/core toolkit/controls)
set(allow_menu graphics platform resources toolkit/core toolkit/menus)
set(allow_ruler ${toolkit})
set(allow_toolbarkit ${toolkit})
set(allow_widgets ${toolkit} toolbarkit)
set(allow_crossruler ${system})
set(allow_magnifier ${system})
set(allow_properties ${system})
set(allow_app ${system} crossruler magnifier properties)
# The program's entry picks the backend.
set(allow_app/BackendChoice.cpp platform/x11 platform/wayland)

set(folders graphics resources platform platform/virtual platform/dbus platform/portal platform/sound platform/x11
    platform/wayland toolkit/core toolkit/controls toolkit/menus toolkit/dialogs menu ruler toolbarkit
    widgets crossruler magnifier properties app)

set(faults "")
foreach(folder IN LISTS folders)
  file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.h.in)
  foreach(file IN LISTS files)
    set(allowed ${folder} ${allow_${folder}} ${allow_${file}})
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      get_filename_component(dir "${header}" DIRECTORY)
      # Generated headers beside the source (the Wayland protocols) have no folder.
      if(dir STREQUAL "" OR dir IN_LIST allowed)
        continue()
      endif()
      list(JOIN allowed ", " names)
      list(APPEND faults "${file} includes ${header}: ${folder}/ may include only ${names}")
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes that run up the layer map (DESIGN.md):\n  ${text}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
