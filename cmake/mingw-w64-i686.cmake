# 32-bit Windows console program: the one that ships.
set(listsift_mingw_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
