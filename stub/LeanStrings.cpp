// The string types the stub uses, instantiated here rather than taken from
// the C++ library, whose copies were built with exception tables for every
// member (well over 60 KB in the 32-bit image). Built, like the rest of the
// stub, without exceptions: every failure a string reports ends the program
// (LeanRuntime.cpp), and only the members the stub calls stay in the image.
#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
