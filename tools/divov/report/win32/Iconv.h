// The part of iconv that the viewer uses, over MultiByteToWideChar and
// WideCharToMultiByte: from "CP932" to "UTF-8" or back to "CP932" (checked,
// unchanged). Errors are reported through errno as iconv reports them:
// EILSEQ for a byte sequence with no character, EINVAL for a cut one at the
// end, E2BIG when the output is full; other encodings cannot be opened.
#pragma once

#include <cstddef>

using iconv_t = void*;

iconv_t iconv_open(const char* toCode, const char* fromCode);
std::size_t iconv(iconv_t handle, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft);
int iconv_close(iconv_t handle);
