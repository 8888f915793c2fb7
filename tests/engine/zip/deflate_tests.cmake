# Deflate and Deflate64 encoders: portable, tested in every configuration.
# The round trips go through our own inflate, and through zlib's in the
# native build; the zip they write is checked with 7-Zip, Info-ZIP and Python.
brennicor_test(NAME deflate_encoder_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeflateEncoderTest.cpp ${CMAKE_CURRENT_LIST_DIR}/DeflateCodeLengthsTest.cpp
  LIBS engine_encoders engine_decoders engine_common
  FIXTURES_SETUP deflate_members_zip)
target_include_directories(deflate_encoder_test PRIVATE
  ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests/engine/unzip/decoders)
find_package(ZLIB)
if(ZLIB_FOUND AND NOT WIN32)
  target_link_libraries(deflate_encoder_test PRIVATE ZLIB::ZLIB)
  target_compile_definitions(deflate_encoder_test PRIVATE BRENNICOR_TEST_ZLIB)
endif()
brennicor_python_test(NAME deflate_members_zip_check
  SCRIPT ${CMAKE_CURRENT_LIST_DIR}/deflate_members_zip_check.py
  FIXTURES_REQUIRED deflate_members_zip)
