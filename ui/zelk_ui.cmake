# The Qt layer: display components, the main window and the dialogs; it shows what
# the window logic (windowlogic/) holds.
add_library(zelk_ui STATIC
  ui/ConvEdit.cpp
  ui/CStringGrid.cpp
  ui/u_main.cpp
  ui/ModalWindowGuard.cpp
  ui/FileChooser.cpp
  ui/Messages.cpp
  ui/PlotBackground.cpp
  ui/PlotLayers.cpp
  ui/SystemLocale.cpp
  ui/Windows.cpp
  ui/dialogs/u_Sensor.cpp
  ui/dialogs/u_Sensorgrafik.cpp
  ui/dialogs/u_prefs.cpp
  ui/dialogs/u_Tabellen.cpp
  ui/dialogs/About.cpp
)
target_include_directories(zelk_ui PUBLIC ${CMAKE_SOURCE_DIR})
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
target_link_libraries(zelk_ui PUBLIC zelk_core Qt6::Widgets Qt6::Charts PRIVATE PkgConfig::XCB)

add_executable(zelk app/main.cpp)
target_link_libraries(zelk PRIVATE zelk_ui)
zelk_embed_version(zelk)
