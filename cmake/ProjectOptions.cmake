# One interface target carries the language standard, warnings and shared
# definitions; every library, executable and test links it.
add_library(lumi_options INTERFACE)
target_compile_features(lumi_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(lumi_options INTERFACE -Wall -Wextra)
target_compile_definitions(lumi_options INTERFACE
  ASIO_STANDALONE
  ASIO_NO_DEPRECATED
  LUMI_VERSION="${PROJECT_VERSION}")
if(LUMI_SANITIZE)
  target_compile_options(lumi_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lumi_options INTERFACE -fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

# Standalone Asio is header-only; compile its implementation once here instead
# of in every file that includes it.
add_library(asio_impl STATIC ${CMAKE_SOURCE_DIR}/cmake/AsioImpl.cpp)
target_compile_definitions(asio_impl PUBLIC ASIO_STANDALONE ASIO_SEPARATE_COMPILATION ASIO_NO_DEPRECATED)
target_link_libraries(asio_impl PUBLIC lumi_options Threads::Threads)
