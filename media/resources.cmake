# Data files and ".ONE" archives, the picture readers, and the PIX and
# archive writers of the tools.
target_sources(media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/archive_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pcx_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pi1_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pix_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pix_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tga_reader.cpp
)

# The fonts (gfx/font.cpp) load their pictures with LoadImageFile, so gfx
# needs media as much as media needs gfx: declared, the two static libraries
# are named twice on every link line and either order links.
target_link_libraries(gfx INTERFACE media)
