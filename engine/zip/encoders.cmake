# Deflate and Deflate64 encoders: portable, built in every configuration.
add_library(engine_encoders STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DeflateBitOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeflateBlockBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeflateHuffman.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeflateEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Deflate64Encoder.cpp)
target_include_directories(engine_encoders PUBLIC ${CMAKE_CURRENT_LIST_DIR})
