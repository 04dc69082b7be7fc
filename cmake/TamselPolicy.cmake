# Build policy shared by every target: language level, warnings and Qt strictness.
add_library(tamsel_policy INTERFACE)
target_compile_features(tamsel_policy INTERFACE cxx_std_20)
target_compile_options(tamsel_policy INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
target_compile_definitions(tamsel_policy INTERFACE
  QT_NO_CAST_FROM_ASCII QT_USE_QSTRINGBUILDER QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  TAMSEL_VERSION="${PROJECT_VERSION}")
if(TAMSEL_WERROR)
  target_compile_options(tamsel_policy INTERFACE -Werror)
  target_compile_definitions(tamsel_policy INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(TAMSEL_SANITIZE)
  target_compile_options(tamsel_policy INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(tamsel_policy INTERFACE -fsanitize=address,undefined)
endif()

# One static library per source folder; every .cpp/.h below the folder belongs to it.
function(tamsel_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC tamsel_policy ${ARG_DEPENDS})
  else()
    # A folder with headers only so far still gives the others a target to link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE tamsel_policy ${ARG_DEPENDS})
  endif()
endfunction()
