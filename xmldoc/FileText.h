#pragma once
// A file's bytes as text and back, in the encoding its XML declaration names: UTF-8 when
// it names none, ISO-8859-1, US-ASCII and windows-1251 besides. The declaration stays as
// the file has it, so text written back goes out in the encoding it came in; characters
// that encoding cannot hold are written as character references (see WriteOptions).

#include <optional>
#include <string>
#include <string_view>

namespace ferrox::xml {

enum class Charset {
  Utf8,
  Latin1,       // ISO-8859-1: every byte is the character of that number
  Ascii,        // US-ASCII: bytes below 0x80 only
  Windows1251,  // the Cyrillic code page the first library files were written in
  Unknown,      // declared, but not one of these: read as UTF-8, never written
};

struct FileText {
  std::wstring text;
  Charset charset = Charset::Utf8;
  std::string declared;        // the encoding's name as the declaration gives it, or empty
  bool byteOrderMark = false;  // the file starts with the UTF-8 one
  // Every byte read as a character of the charset; when not, the text holds U+FFFD where
  // it could not, and writing it back would lose what stood there.
  bool exact = true;
};

// The charset the declaration at the start of bytes names (after a UTF-8 byte order mark);
// Utf8 without one, Unknown for any other name or a byte order mark of another encoding.
Charset DeclaredCharset(std::string_view bytes);

FileText DecodeFileText(std::string_view bytes);

// Whether the charset holds c as itself.
bool Holds(Charset charset, wchar_t c);

// text in the charset (with the UTF-8 byte order mark first when asked); nullopt for
// Unknown or when a character of text is not in the charset.
std::optional<std::string> EncodeFileText(std::wstring_view text, Charset charset, bool byteOrderMark);

}  // namespace ferrox::xml
