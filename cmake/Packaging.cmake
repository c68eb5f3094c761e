# Installing like any desktop program, and the Debian package.
#
# `cmake --install` puts, under the prefix: the two programs in bin/, the canvas
# module in lib/veltra/ (where `veltra chart` looks, ../lib/veltra/ from bin/), the
# examples, the manual pages, the user guide, the desktop entry, the icons, the file
# type of the input files and the package's copyright and changelog; the Python package
# under lib/python3/dist-packages/veltra (component "python"). `cpack` (run in the build
# folder) makes veltra_<version>_<arch>.deb from the same installation, with prefix /usr,
# and python3-veltra_<version>_<arch>.deb from the Python component.

set(VELTRA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VELTRA_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${VELTRA_PACKAGING_OUT})

# Manual pages are installed compressed, without a name or time stamp in the
# archive (gzip -n), so that the same page gives the same bytes.
find_program(VELTRA_GZIP gzip REQUIRED)
set(veltra_compressed)
foreach(source docs/man/veltra.1 docs/man/veltra-gui.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(out ${VELTRA_PACKAGING_OUT}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${VELTRA_PACKAGING_OUT}/${name}
    COMMAND ${VELTRA_GZIP} -9nf ${VELTRA_PACKAGING_OUT}/${name}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  list(APPEND veltra_compressed ${out})
endforeach()

# The PNG icons are rendered from the one SVG at build time, so that they cannot
# fall behind it and no pictures made by hand sit in the sources.
find_program(VELTRA_RSVG_CONVERT rsvg-convert REQUIRED)
set(VELTRA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(veltra_icons)
foreach(size ${VELTRA_ICON_SIZES})
  set(out ${VELTRA_PACKAGING_OUT}/icons/${size}x${size}/veltra.png)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTRA_PACKAGING_OUT}/icons/${size}x${size}
    COMMAND ${VELTRA_RSVG_CONVERT} -w ${size} -h ${size} -o ${out} ${VELTRA_PACKAGING_DIR}/veltra.svg
    DEPENDS ${VELTRA_PACKAGING_DIR}/veltra.svg
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND veltra_icons ${out})
  install(FILES ${out} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

add_custom_target(veltra_install_files ALL DEPENDS ${veltra_compressed} ${veltra_icons})

install(FILES examples/field.inp examples/wells.inp DESTINATION share/veltra/examples)
install(FILES ${VELTRA_PACKAGING_OUT}/veltra.1.gz ${VELTRA_PACKAGING_OUT}/veltra-gui.1.gz
  DESTINATION share/man/man1)
install(FILES ${VELTRA_PACKAGING_DIR}/veltra.desktop DESTINATION share/applications)
install(FILES ${VELTRA_PACKAGING_DIR}/veltra.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${VELTRA_PACKAGING_DIR}/veltra-mime.xml DESTINATION share/mime/packages RENAME veltra.xml)
# The user guide, Markdown with its pictures; its manual page is installed above.
install(DIRECTORY docs/ DESTINATION share/doc/veltra/guide PATTERN man EXCLUDE)
install(FILES ${VELTRA_PACKAGING_DIR}/copyright DESTINATION share/doc/veltra)
# A package whose version has no Debian revision is native: its changelog is changelog.gz.
install(FILES ${VELTRA_PACKAGING_OUT}/changelog.gz DESTINATION share/doc/veltra)

# The Python package's Debian package has its own copyright and changelog.
if(TARGET veltra_python)
  install(FILES ${VELTRA_PACKAGING_DIR}/copyright ${VELTRA_PACKAGING_OUT}/changelog.gz
    DESTINATION share/doc/python3-veltra COMPONENT python)
endif()

# ------------------------------------------------------------------ the .deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Veltra maintainers <maintainers@veltra.invalid>")
set(CPACK_PACKAGE_VENDOR "Veltra maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "agro-hydro-soil-salinity model of irrigated land")
set(CPACK_PACKAGE_DESCRIPTION
"Veltra predicts, season by season over up to 99 years, the salinity of the
root zone, the groundwater and the drainage water, the depth of the water
table, the drain and well discharges and the water balance of an irrigated
area, including the farmers' responses to waterlogging and salinisation.
.
The package holds the window veltra-gui, the command-line tool veltra (single
runs, tables, charts, and batches and parameter sweeps in parallel), the
example inputs and the manual pages.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The scan of the programs and the module adds the C and C++ runtime and the Qt
# libraries; what it cannot see: the platform plugins Qt loads at run time (the
# window's xcb; the offscreen one comes with libqt6gui6) and the fonts
# the charts and the window are drawn with. Qt Svg, which writes the charts as
# SVG, is named as well: the module that needs it is loaded, not linked, by veltra.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# One package per component: veltra (everything not in a component of its own) and
# python3-veltra.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME veltra)
set(CPACK_DEBIAN_UNSPECIFIED_FILE_NAME DEB-DEFAULT)
if(TARGET veltra_python)
  set(CPACK_COMPONENTS_ALL Unspecified python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-veltra)
  set(CPACK_DEBIAN_PYTHON_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  # The scan of the module adds the C and C++ runtime.
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3, python3-pandas")
  # cpack puts the summary (CPACK_PACKAGE_DESCRIPTION_SUMMARY) before each description.
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION "The Python 3 package veltra runs the Veltra model inside Python: inputs
by the model's symbols with the input editor's tests, runs in memory at full
precision, result files read back, and sweeps of many cases on threads or on
a Dask cluster, with the results as pandas DataFrames.")
else()
  set(CPACK_COMPONENTS_ALL Unspecified)
endif()
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
include(CPack)
