#include "launcher/UpdateTexts.h"

namespace ferrox::launcher {
namespace {

// Our two products are named; any other program is "the program".
QString Shown(const QString& product, bool russian) {
  if (product == QLatin1String("Ferrox6Plus") || product == QLatin1String("Orvell")) return product;
  return russian ? QStringLiteral("программы") : QStringLiteral("the program");
}

QString Caption(const QString& product, bool russian) {
  return Shown(product, false) == product
             ? product + (russian ? QStringLiteral(": обновление") : QStringLiteral(" update"))
             : (russian ? QStringLiteral("Обновление") : QStringLiteral("Update"));
}

}  // namespace

MessageText UpdateOfferText(const QString& product, int language, const QString& version,
                            const QString& date) {
  const bool russian = language == 1;
  const QString text = russian ? QStringLiteral("Доступна новая версия %1 (%2, %3). Загрузить её сейчас?")
                               : QStringLiteral("A newer version of %1 is available (%2, %3). Download it now?");
  return {text.arg(Shown(product, russian), version, date), Caption(product, russian)};
}

MessageText UpdateSavedText(const QString& product, int language, const QString& installer) {
  const bool russian = language == 1;
  const QString text = russian
                           ? QStringLiteral("Установщик новой версии сохранён: %1. Закройте %2 и запустите его.")
                           : QStringLiteral("The new version's installer was saved as %1. Close %2 and run it.");
  // The accusative case: "закройте программу".
  const QString shown = russian && Shown(product, false) != product ? QStringLiteral("программу")
                                                                   : Shown(product, russian);
  return {text.arg(installer, shown), Caption(product, russian)};
}

MessageText UpdateFailedText(const QString& product, int language) {
  const bool russian = language == 1;
  const QString text = russian ? QStringLiteral("Не удалось загрузить новую версию. Попробуйте позже.")
                               : QStringLiteral("The new version could not be downloaded. Please try again later.");
  return {text, Caption(product, russian)};
}

}  // namespace ferrox::launcher
