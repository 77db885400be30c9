#pragma once
// How the program names cards. Card indices, masks of cards, the 36-card deck and the rule
// set are the library's (quillet/Cards.h, quillet::Rules); these are names for them.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "quillet/Cards.h"
#include "quillet/HandValue.h"

namespace ferrox {

using CardIndex = int32_t;
using CardMask = uint64_t;

inline constexpr int kCardNameCount = 70;
inline constexpr int kMatrixSide = 9;

// 52 cards by index, then "Xc".."Xs", "2x".."Ax", "Xx".
inline constexpr std::array<std::wstring_view, kCardNameCount> CardNameTable = {
    L"2c", L"3c", L"4c", L"5c", L"6c", L"7c", L"8c", L"9c", L"Tc", L"Jc", L"Qc", L"Kc", L"Ac",
    L"2d", L"3d", L"4d", L"5d", L"6d", L"7d", L"8d", L"9d", L"Td", L"Jd", L"Qd", L"Kd", L"Ad",
    L"2h", L"3h", L"4h", L"5h", L"6h", L"7h", L"8h", L"9h", L"Th", L"Jh", L"Qh", L"Kh", L"Ah",
    L"2s", L"3s", L"4s", L"5s", L"6s", L"7s", L"8s", L"9s", L"Ts", L"Js", L"Qs", L"Ks", L"As",
    L"Xc", L"Xd", L"Xh", L"Xs",
    L"2x", L"3x", L"4x", L"5x", L"6x", L"7x", L"8x", L"9x", L"Tx", L"Jx", L"Qx", L"Kx", L"Ax",
    L"Xx"};

// Letter of a rank index 0..12; "2" for anything else.
wchar_t RankLetter(int rankIndex);
// Letter of a matrix index (0 = ace, 8 = six); "2" for 13 and above.
wchar_t MatrixRankLetter(int matrixIndex);

}  // namespace ferrox
