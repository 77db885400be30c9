#pragma once
// Input echoed in a message: it can neither break the line it stands in nor drive a
// terminal, and long input does not drown the message.

#include <cstddef>
#include <string>
#include <string_view>

namespace ferrox {

inline constexpr std::size_t kEchoedInputLength = 60;

// Control characters (C0, DEL, C1) and the Unicode line and paragraph separators written
// as escapes: "\n", "\t", "\x1b", "\u0085", "\u2028".
std::wstring EscapedText(std::wstring_view text);
// At most `most` characters, then "..." when there were more.
std::wstring CutText(std::wstring_view text, std::size_t most);
// Quoted, escaped and cut after kEchoedInputLength characters: 'AKs, A|'.
std::wstring QuotedInput(std::wstring_view input);

}  // namespace ferrox
