# The layers, enforced by the build.
#
# Core targets (the engine and the services below it) link Qt Core only, so
# <QWidget> or <QImage> is simply not found there. Two ways round that stay
# open: "QtWidgets/QWidget" through Qt's common include folder, and the gui/
# headers through the source root that every target sees. A core target
# therefore searches a guard folder first, in which each of those headers is
# a file that stops the compilation with a clear message.
#
# Companion targets (the libraries and the stub) must not reach Qt at all.
# After every target is defined, brx_check_layers() walks each one's link
# closure and stops the configuration when a forbidden target is in it.

set(BRX_LAYER_GUARD_DIR ${CMAKE_BINARY_DIR}/layer-guard)

# Writes one guard header (only when missing, so that rebuilds stay quiet).
function(_brx_write_guard relative reason)
  set(path ${BRX_LAYER_GUARD_DIR}/${relative})
  if(NOT EXISTS ${path})
    file(WRITE ${path} "#error \"${relative}: ${reason}\"\n")
  endif()
endfunction()

# Guards every header of Qt Gui and Qt Widgets, and every header of gui/.
function(brx_make_layer_guard)
  get_target_property(qt_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
  get_target_property(gui_dirs Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
  list(APPEND qt_dirs ${gui_dirs})
  foreach(dir ${qt_dirs})
    get_filename_component(module ${dir} NAME)
    if(NOT module MATCHES "^Qt(Gui|Widgets)$")
      continue()
    endif()
    file(GLOB headers RELATIVE ${dir} ${dir}/*)
    foreach(header ${headers})
      if(NOT IS_DIRECTORY ${dir}/${header})
        _brx_write_guard(${module}/${header} "Qt Gui and Qt Widgets are not for the core layers")
      endif()
    endforeach()
  endforeach()
  file(GLOB gui_headers RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gui/*.h
       ${CMAKE_SOURCE_DIR}/gui/*/*.h)
  foreach(header ${gui_headers})
    _brx_write_guard(${header} "the gui layer sits above the core; the core reaches the user through IUserHost")
  endforeach()
endfunction()

# Marks a target as core: it searches the guard folder before anything else.
function(brx_core_layer target)
  target_include_directories(${target} BEFORE PRIVATE ${BRX_LAYER_GUARD_DIR})
  set_property(GLOBAL APPEND PROPERTY BRX_CORE_TARGETS ${target})
endfunction()

# Marks a target as a companion (no Qt at all).
function(brx_companion_layer target)
  set_property(GLOBAL APPEND PROPERTY BRX_COMPANION_TARGETS ${target})
endfunction()

# Every target reached through the link libraries of target, into out_var.
function(_brx_link_closure target out_var)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link ${links})
      # Generator expressions such as $<LINK_ONLY:x> name a target inside.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(TARGET ${link})
        get_target_property(aliased ${link} ALIASED_TARGET)
        if(aliased)
          set(link ${aliased})
        endif()
        list(APPEND pending ${link})
      endif()
    endforeach()
  endwhile()
  set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

function(_brx_check_closure targets forbidden_regex what)
  foreach(target ${targets})
    _brx_link_closure(${target} closure)
    foreach(reached ${closure})
      if(reached MATCHES "${forbidden_regex}")
        message(FATAL_ERROR "Layer rule broken: ${target} links ${reached} (${what}).")
      endif()
    endforeach()
  endforeach()
endfunction()

function(brx_check_layers)
  get_property(core GLOBAL PROPERTY BRX_CORE_TARGETS)
  get_property(companions GLOBAL PROPERTY BRX_COMPANION_TARGETS)
  _brx_check_closure("${core}" "^(Qt6::(Gui|Widgets)|brx_gui|brx_controls|brx_archive_window|brx_backup)$"
                     "the core stays on Qt Core")
  _brx_check_closure("${companions}" "^Qt6::" "companions do not use Qt")
endfunction()
