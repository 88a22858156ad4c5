#pragma once

#include <string>
#include <string_view>

// How the bytes of an X text property are encoded, as its type tells.
enum class TextEncoding { Latin1, CompoundText, Utf8 };

// The text in UTF-8. STRING is ISO 8859-1. COMPOUND_TEXT begins in ISO 8859-1 and
// switches character sets with escape sequences: the ISO 8859 parts, the Chinese,
// Japanese and Korean double-byte sets, UTF-8 segments and extended segments that name
// their encoding. Bytes of a set that cannot be read become U+FFFD.
std::string textToUtf8(TextEncoding encoding, std::string_view bytes);
