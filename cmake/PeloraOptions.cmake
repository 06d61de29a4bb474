# Build switches and deployment values. Deployment values are compiled in and
# default to the demo game server; command-line flags may override them.

option(PELORA_SANITIZE "Build with AddressSanitizer + UndefinedBehaviorSanitizer" OFF)
option(PELORA_TSAN "Build with ThreadSanitizer" OFF)
option(PELORA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(PELORA_BUILD_TESTS "Build the test suite" ON)
option(PELORA_BUILD_BENCH "Build the benchmarks" ON)
# Every runtime chunk gets its own system allocation, so sanitizers see
# overruns that would otherwise stay inside a memory-holder page.
option(PELORA_CHUNK_PER_ALLOCATION "Mesh2D memory holders allocate each chunk separately" OFF)

set(PELORA_APP_HOST "http://127.0.0.1:8080" CACHE STRING "Application host (pages, relays)")
set(PELORA_DOWNLOAD_HOST "http://127.0.0.1:8080" CACHE STRING "Download host (version, lists, archives)")
# Pages of the application host (http and https) may call native actions;
# these further hosts too: "host[:port]" entries separated by ",".
set(PELORA_PAGE_HOSTS "" CACHE STRING "Further hosts whose pages may call native actions (host[:port],...)")
set(PELORA_BUNDLE_NAME "Pelora" CACHE STRING "Bundle name used in the user agent")
set(PELORA_BUNDLE_VERSION "${PROJECT_VERSION}" CACHE STRING "Bundle version used in the user agent")
# TLS verification is on unless a development build turns it off on purpose;
# the HTTP client logs a warning on every request made without it.
option(PELORA_TLS_VERIFY "Verify TLS peers and host names" ON)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

add_compile_options(-Wall -Wextra)

if(PELORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  set(PELORA_CHUNK_PER_ALLOCATION ON CACHE BOOL "" FORCE)
endif()
if(PELORA_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(PELORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PELORA_FUZZ needs clang (use the 'fuzz' preset)")
  endif()
  # A fuzzer that logs undefined behaviour and keeps going never saves the
  # input: every sanitizer report must end the run with an artifact.
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  set(PELORA_CHUNK_PER_ALLOCATION ON CACHE BOOL "" FORCE)
endif()

# A page host that names no single host would trust nothing: say so now
# rather than refuse its pages at run time.
string(REPLACE "," ";" _pelora_page_hosts "${PELORA_PAGE_HOSTS}")
foreach(_pelora_host IN LISTS _pelora_page_hosts)
  string(STRIP "${_pelora_host}" _pelora_host)
  if(_pelora_host AND NOT _pelora_host MATCHES
     "^([Hh][Tt][Tt][Pp][Ss]?://)?([A-Za-z0-9._-]+|\\[[0-9A-Fa-f:.]+\\])(:[0-9]+)?/*$")
    message(FATAL_ERROR "PELORA_PAGE_HOSTS: \"${_pelora_host}\" is not host[:port]")
  endif()
endforeach()
