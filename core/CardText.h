#pragma once
// Card lists as typed by a user: names written together or apart ("AhKd", "Ah Kd", "Ah,Kd").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Cards.h"

namespace ferrox {

// The cards of text, in order; nullopt with a message for a name that is no card of the
// short deck or for a card named twice.
std::optional<std::vector<CardIndex>> ParseCardList(std::wstring_view text, std::wstring& error);

// Names of cards written one after another ("AhKd").
std::wstring CardListText(const std::vector<CardIndex>& cards);

}  // namespace ferrox
