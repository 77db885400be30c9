#pragma once
// UTF-8 <-> wide text (UTF-32 on Linux).

#include <string>
#include <string_view>

namespace ferrox {

std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace ferrox
