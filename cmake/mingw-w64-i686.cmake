# Cross build for 32-bit Windows: the 64-bit toolchain file with the i686 compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# SSE2 arithmetic, as the 64-bit build has it: the x87 unit keeps intermediate
# results in 80 bits, which moves printed chart positions by a unit. Windows 8
# and later demand SSE2 anyway; the manuals say what older PCs it excludes.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
