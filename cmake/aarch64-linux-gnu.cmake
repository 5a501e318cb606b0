# Cross build for the board (64-bit Arm) with Debian's cross compiler
# (crossbuild-essential-arm64) and the arm64 multiarch development packages
# (libwayland-dev:arm64, libxkbcommon-dev:arm64, ...), see tools/install-deps.sh.
#
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
#
# Programs run at build time (wayland-scanner, the asset converters) stay the
# build machine's; CTest runs the arm64 test binaries under qemu-aarch64-static.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_ASM_COMPILER aarch64-linux-gnu-gcc)

# Multiarch: the arm64 libraries live beside the build machine's ones, under
# /usr/lib/aarch64-linux-gnu; headers are shared under /usr/include.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

find_program(TESSEL_QEMU_AARCH64 qemu-aarch64-static qemu-aarch64)
if(TESSEL_QEMU_AARCH64)
  # No -L prefix: the programs run on the arm64 multiarch loader, libc and
  # libstdc++ (libc6:arm64, libstdc++6:arm64), one consistent set. The cross
  # toolchain's own copies under /usr/aarch64-linux-gnu come from another
  # glibc build; a loader of one with the libc of the other hangs in fork().
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TESSEL_QEMU_AARCH64}")
endif()
