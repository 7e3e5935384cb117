# 64-bit Windows console program from the same sources.
set(listsift_mingw_arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
