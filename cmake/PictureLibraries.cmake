# The picture libraries of the core, found once for the normal build and the fuzz build alike.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(Cairo REQUIRED IMPORTED_TARGET cairo cairo-svg cairo-pdf)
# Text: Pango lays out DejaVu Sans (found through fontconfig, drawn by FreeType, shaped by HarfBuzz).
pkg_check_modules(Pango REQUIRED IMPORTED_TARGET pangocairo pangoft2 fontconfig freetype2 harfbuzz)
