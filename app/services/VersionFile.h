#pragma once
// The version file "tv.dat" written at each start, and the language code it carries.

#include <QLocale>
#include <filesystem>

namespace ferrox {

// 1 for Russian, 2 for Spanish, 0 for any other language.
int LanguageCode(QLocale::Language language);
// The code of the system locale's language.
int LanguageCode();

// Replaces folder/tv.dat as a whole (a link there is replaced, not followed); false when
// it cannot be written.
bool WriteVersionFile(const std::filesystem::path& folder, int languageCode);

}  // namespace ferrox
