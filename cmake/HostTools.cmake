# The Windows build packs payloads with qzpack, a host program: build it from the
# same sources with the host compiler, in a tree of its own inside this build.
include(ExternalProject)

set(HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(QZPACK ${HOST_TOOLS_DIR}/bin/qzpack)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${HOST_TOOLS_DIR}
  CMAKE_ARGS -DPELMOR_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${HOST_TOOLS_DIR} --target qzpack
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QZPACK}
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD OFF)
