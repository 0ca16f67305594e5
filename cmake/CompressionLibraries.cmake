# The libraries behind package compression, as imported targets:
#   mkpkg::libdeflate  fast whole-buffer deflate for the compressing workers
#   mkpkg::isal        ISA-L's streaming inflate for reading packages
# Each is looked for through its own CMake package, then pkg-config, then by
# its header and library name, so a plain Debian install is enough.
find_package(Threads REQUIRED)
find_package(PkgConfig QUIET)

# mkpkg_find_library(TARGET HEADER LIBRARY_NAME PKG_CONFIG_MODULE)
function(mkpkg_find_library target header library module)
  if(TARGET ${target})
    return()
  endif()
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(mkpkg_${library} QUIET IMPORTED_TARGET GLOBAL ${module})
    if(mkpkg_${library}_FOUND)
      add_library(${target} ALIAS PkgConfig::mkpkg_${library})
      message(STATUS "Found ${module} ${mkpkg_${library}_VERSION} (pkg-config)")
      return()
    endif()
  endif()
  find_path(mkpkg_${library}_include ${header})
  find_library(mkpkg_${library}_library NAMES ${library})
  if(NOT mkpkg_${library}_include OR NOT mkpkg_${library}_library)
    message(FATAL_ERROR "${module} not found: install its development package (./dev installs it)")
  endif()
  add_library(${target} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${mkpkg_${library}_library}
    INTERFACE_INCLUDE_DIRECTORIES ${mkpkg_${library}_include})
  message(STATUS "Found ${module}: ${mkpkg_${library}_library}")
endfunction()

find_package(libdeflate CONFIG QUIET)
if(TARGET libdeflate::libdeflate_shared)
  add_library(mkpkg::libdeflate ALIAS libdeflate::libdeflate_shared)
elseif(TARGET libdeflate::libdeflate_static)
  add_library(mkpkg::libdeflate ALIAS libdeflate::libdeflate_static)
endif()
mkpkg_find_library(mkpkg::libdeflate libdeflate.h deflate libdeflate)
mkpkg_find_library(mkpkg::isal isa-l/igzip_lib.h isal libisal)
