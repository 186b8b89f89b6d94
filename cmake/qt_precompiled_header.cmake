# Reading Qt's headers is most of the time spent compiling a source that uses widgets
# (about 3.5 of 5 seconds for a typical one), and almost every program, library and test
# outside the Qt-free core uses them. So the Qt and standard headers used most are
# precompiled once, and every target that sees Qt Widgets reuses that one header. Test
# programs reuse a second one that also holds GoogleTest's header.
#
# GCC takes a precompiled header only when it was made with the same code-generation
# options as the source (position-independent code, NDEBUG): both are made by targets
# that link what the users link, so their options are the same.

set(ORDEXA_PCH_HEADERS
  <algorithm> <functional> <map> <memory> <optional> <string> <string_view> <vector>
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDir> <QFile> <QFileDialog>
  <QFileInfo> <QIcon> <QImage> <QKeyEvent> <QLabel> <QLineEdit> <QMainWindow> <QMenu>
  <QMessageBox> <QPainter> <QPixmap> <QPointer> <QPushButton> <QRegularExpression>
  <QScrollBar> <QString> <QTemporaryDir> <QTimer> <QVBoxLayout> <QWidget>)

# Whether the libraries LINKS give Qt Widgets' headers to what links them: one of them is
# Qt6::Widgets, or a target of ours that passes it on.
function(ordexa_links_give_widgets out)
  foreach(lib ${ARGN})
    set(found FALSE)
    if(lib STREQUAL "Qt6::Widgets")
      set(found TRUE)
    elseif(lib MATCHES "^ordexa" AND TARGET ${lib})
      get_target_property(interface ${lib} INTERFACE_LINK_LIBRARIES)
      if(interface)
        ordexa_links_give_widgets(found ${interface})
      endif()
    endif()
    if(found)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

function(ordexa_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    ordexa_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Gives every compiled target below DIR that sees Qt Widgets one of the shared
# precompiled headers.
function(ordexa_use_qt_precompiled_headers dir)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/pch.cpp CONTENT "// The precompiled headers' own source.\n")
  add_library(ordexa_qt_pch OBJECT ${CMAKE_BINARY_DIR}/pch/pch.cpp)
  target_link_libraries(ordexa_qt_pch PRIVATE Qt6::Widgets)
  target_precompile_headers(ordexa_qt_pch PRIVATE ${ORDEXA_PCH_HEADERS})
  add_library(ordexa_qt_test_pch OBJECT ${CMAKE_BINARY_DIR}/pch/pch.cpp)
  # It takes the tests' own options from their main, so that it is made as they are compiled.
  target_link_libraries(ordexa_qt_test_pch PRIVATE Qt6::Widgets GTest::gtest)
  get_target_property(test_options ordexa_test_main INTERFACE_COMPILE_OPTIONS)
  if(test_options)
    target_compile_options(ordexa_qt_test_pch PRIVATE ${test_options})
  endif()
  set_target_properties(ordexa_qt_pch ordexa_qt_test_pch PROPERTIES AUTOMOC OFF)
  target_precompile_headers(ordexa_qt_test_pch PRIVATE ${ORDEXA_PCH_HEADERS} <gtest/gtest.h>)

  ordexa_targets_below(${dir} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
       OR target MATCHES "_pch$")
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(NOT links)
      continue()
    endif()
    ordexa_links_give_widgets(widgets ${links})
    if(NOT widgets)
      continue()
    endif()
    if("ordexa_test_main" IN_LIST links OR target STREQUAL "ordexa_test_main")
      target_precompile_headers(${target} REUSE_FROM ordexa_qt_test_pch)
    else()
      target_precompile_headers(${target} REUSE_FROM ordexa_qt_pch)
    endif()
  endforeach()
endfunction()
