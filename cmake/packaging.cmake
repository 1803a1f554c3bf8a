# `cpack -G DEB` in the build folder packs the installed tree into quillmere_VERSION_ARCH.deb,
# for /usr, with its dependencies found by dpkg-shlibdeps and its programs stripped.
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "The Quillmere developers <quillmere@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_FILE_NAME quillmere)  # the DEB generator's own naming, below, wins
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quillmere/quillmere)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The first line is the package's summary, the rest its description, as dpkg shows them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "draw fractals defined by an iterated function system
Quillmere draws fractals defined by up to ten affine maps of the plane, each
chosen with its probability. Type the maps into a grid, compute one from scale
factors and angles, or pick one of eleven patterns (the Sierpinski gasket, the
fern, the Koch curve ...), and draw them as a blue print, as the deterministic
fractal or by the chaos game.
.
A map editor, a report of what the maps do with the fractal's dimension,
pictures rendered to PNG, BMP, JPEG or SVG, and the shared .ifs format come
with it; quillmere-render draws the same pictures without a window.")
# Folders and files in the package belong to root, whoever builds it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
