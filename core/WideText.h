#pragma once
// UTF-8 <-> wide text (UTF-32 on Linux).

#include <string>
#include <string_view>

namespace ferrox {

// Each byte that does not belong to a well-formed UTF-8 character (overlong forms,
// surrogates, code points above U+10FFFF, stray or missing continuation bytes) becomes
// U+FFFD, so no text can pass for another by its spelling.
std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace ferrox
