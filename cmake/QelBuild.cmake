# What every target of the project is compiled with, for the normal build and the fuzz build alike:
# the repository root as include folder ("engine/QelParser.h", "ui/shell/ChildForm.h"), C++20 and
# the floating-point contract. A library links qel_build publicly, so its users get the same.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
get_filename_component(QEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
option(QEL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)

add_library(qel_build INTERFACE)
target_include_directories(qel_build INTERFACE ${QEL_ROOT})
# Results and exception flags must be the ones the source says, at every optimisation level.
target_compile_options(qel_build INTERFACE -Wall -Wextra -ffp-contract=off -frounding-math
                       -fno-fast-math $<$<BOOL:${QEL_WARNINGS_AS_ERRORS}>:-Werror>)
# Under the sanitizers at -O1, GCC 12 reports uninitialised members inside the standard library's
# std::regex and std::function that do not exist; the optimised build keeps the check.
if(QEL_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(qel_build INTERFACE -Wno-maybe-uninitialized)
endif()

# The core folders: plain C++ without Qt. Each declares its own targets.
set(QEL_CORE_FOLDERS platform engine project graph valuetable analysis components)
