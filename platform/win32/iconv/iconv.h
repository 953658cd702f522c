#pragma once
// The iconv interface over the Windows conversion calls, for the Windows
// build: MinGW has no iconv, and the code page rules above it are shared
// with Linux. Only the names the platform uses are known: "UTF-8",
// "UTF-16LE", "UTF-32LE" and "CPnnn".
#include <cstddef>

using iconv_t = void*;

iconv_t iconv_open(const char* to, const char* from);
int iconv_close(iconv_t cd);
// As the C library's: converts whole characters; at a sequence the source
// cannot hold it stops with errno EILSEQ, at one cut off by the end with
// EINVAL, and with E2BIG when out is full. A null in resets the state.
std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft);
