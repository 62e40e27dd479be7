# Fails when a file of the core layers includes Qt Widgets, Qt Gui or a gui/
# header, or when a file of the companions includes anything of Qt. No
# folder is exempt: the Widgets side of the core's services lives in gui/.
# The build refuses the same includes (cmake/Layers.cmake); this test also
# catches them in files that no target compiles yet.
set(core_dirs engine support platform settings password)
set(gui_include "#include[ \t]*[<\"](QtWidgets|QtGui|gui/|QWidget|QDialog|QMessageBox|QApplication|QComboBox|QGuiApplication|QPainter|QPixmap|QImage|QIcon|QCursor|QLabel|QLineEdit|QPushButton|QScreen|QStyle|QInputDialog|QFileDialog|QKeyEvent|QColor|QFont)")
set(qt_include "#include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/)")

set(offenders "")
function(check_folders dirs pattern)
  foreach(dir ${dirs})
    file(GLOB_RECURSE files ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.hpp
         ${SOURCE_DIR}/${dir}/*.cpp ${SOURCE_DIR}/${dir}/*.c)
    foreach(f ${files})
      file(STRINGS ${f} hits REGEX "${pattern}")
      if(hits)
        list(APPEND offenders "${f}: ${hits}")
      endif()
    endforeach()
  endforeach()
  set(offenders ${offenders} PARENT_SCOPE)
endfunction()

check_folders("${core_dirs}" "${gui_include}")
check_folders("companions" "${qt_include}")
if(offenders)
  string(REPLACE ";" "\n" text "${offenders}")
  message(FATAL_ERROR "Layer rules broken:\n${text}")
endif()
message(STATUS "Core layers are free of GUI headers; companions are free of Qt.")
