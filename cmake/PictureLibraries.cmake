# The picture libraries of the core, found once for the normal build and the fuzz build alike.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(Cairo REQUIRED IMPORTED_TARGET cairo cairo-svg cairo-pdf)
