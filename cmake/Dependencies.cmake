# Every third-party library the engine needs, gathered into one interface target.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
pkg_check_modules(SDL_IMAGE REQUIRED IMPORTED_TARGET SDL_image)
pkg_check_modules(SDL_MIXER REQUIRED IMPORTED_TARGET SDL_mixer)
pkg_check_modules(GLEW REQUIRED IMPORTED_TARGET glew)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

add_library(zarvo_deps INTERFACE)
add_library(zarvo::deps ALIAS zarvo_deps)
# Exported with the engine; the package config file finds the same libraries again.
target_link_libraries(zarvo_deps INTERFACE
  PkgConfig::SDL_IMAGE PkgConfig::SDL_MIXER PkgConfig::SDL
  PkgConfig::GLEW PkgConfig::GLU PkgConfig::PNG OpenGL::GL m)
