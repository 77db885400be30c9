#include "xmldoc/EntityTable.h"

namespace ferrox::xml {

const EntityTable& DefaultEntities() {
  static const EntityTable table = {
      {L'&', L"&amp;"}, {L'"', L"&quot;"}, {L'\'', L"&apos;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"},
  };
  return table;
}

std::wstring DecodeEntities(std::wstring_view text, const EntityTable& table) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Entity* match = nullptr;
    for (const Entity& e : table) {
      if (!e.reference.empty() && text.substr(i, e.reference.size()) == e.reference) {
        match = &e;
        break;
      }
    }
    if (match) {
      out += match->character;
      i += match->reference.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::wstring EncodeEntities(std::wstring_view text, const EntityTable& table) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    const Entity* match = nullptr;
    for (const Entity& e : table) {
      if (e.character == c) {
        match = &e;
        break;
      }
    }
    if (match) out += match->reference;
    else out += c;
  }
  return out;
}

}  // namespace ferrox::xml
