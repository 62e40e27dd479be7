# One INTERFACE target carries the language level, warnings, Qt defines and
# sanitizer flags; every target of the project links it.
add_library(brx_options INTERFACE)
target_compile_features(brx_options INTERFACE cxx_std_20)
target_compile_options(brx_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers>)
target_compile_definitions(brx_options INTERFACE QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
# GCC 12 warns about std::string concatenation inside its own library
# headers in optimised builds (a false positive fixed in GCC 13); it would
# hide real warnings in the build log.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(brx_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()

if(BRX_SANITIZE)
  set(_brx_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(brx_options INTERFACE ${_brx_san})
  target_link_options(brx_options INTERFACE ${_brx_san})
  # Shared objects loaded with dlopen must see the same runtime.
  add_compile_options(${_brx_san})
  add_link_options(${_brx_san})
endif()
