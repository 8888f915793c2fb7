# The member decoders: portable, built in every configuration, and linked by
# the input layer, their tests, fuzz targets and benchmark.
add_library(engine_decoders STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DecodeTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DecoderBits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DecoderWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InflateWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Explode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Inflate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InflateFast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unreduce.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unshrink.cpp)
target_include_directories(engine_decoders PUBLIC ${CMAKE_CURRENT_LIST_DIR})
