#pragma once
// Texts of the update messages, by product and language (1 Russian, else English).

#include <QString>

namespace ferrox::launcher {

struct MessageText {
  QString text;
  QString caption;
};

MessageText UpdateOfferText(const QString& product, int language, const QString& version,
                            const QString& date);
MessageText UpdateSavedText(const QString& product, int language, const QString& installer);
MessageText UpdateFailedText(const QString& product, int language);

}  // namespace ferrox::launcher
