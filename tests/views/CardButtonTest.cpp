// Card buttons: card and used flag, their pictures and names, and the shared 9 x 4 layout.
#include <set>

#include <QTest>

#include "core/Cards.h"
#include "views/CardButton.h"
#include "views/CardLayout.h"
#include "views/CardPicture.h"
#include "views/SuitSymbol.h"

using namespace ferrox;

namespace {

QImage Picture(int card, bool used = false) {
  CCardButton button;
  button.SetCard(card);
  button.SetUsed(used);
  return button.grab().toImage();
}

int PixelsOf(const QImage& image, const QColor& colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  return count;
}

}  // namespace

class CardButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void cardDecidesUsedAndNames() {
    CCardButton button;
    QVERIFY(button.IsUsed());
    QCOMPARE(button.accessibleName(), QString("No card"));
    button.SetCard(38);
    QVERIFY(!button.IsUsed() && button.ShowsFace());
    QCOMPARE(button.accessibleName(), QString("Ah"));
    QCOMPARE(button.accessibleDescription(), QString());
    button.SetUsed(true);
    QVERIFY(!button.ShowsFace());
    QCOMPARE(button.accessibleDescription(), QString("Used"));
    button.SetCard(5);
    QCOMPARE(button.accessibleName(), QString("7c"));
    QVERIFY(!button.IsUsed());
    for (int none : {-1, 52, 1000}) {
      button.SetCard(none);
      QVERIFY(button.IsUsed() && !button.HasCard());
      QCOMPARE(button.accessibleDescription(), QString("Used"));
    }
    QCOMPARE(button.sizeHint(), QSize(27, 37));
  }

  void usedAndEmptyPlacesShareOnePicture() {
    const QImage usedAce = Picture(38, true);
    QCOMPARE(Picture(5, true), usedAce);
    QCOMPARE(Picture(-1), usedAce);
    QVERIFY(Picture(38) != usedAce);
    QVERIFY(Picture(38) != Picture(37));
  }

  void eachSuitIsDrawnInItsOwnColour() {
    // A four-colour deck: clubs green, diamonds blue, hearts red, spades black.
    const QColor clubs = SuitColour(0), diamonds = SuitColour(1), hearts = SuitColour(2);
    const QColor spades = SuitColour(3);
    QVERIFY(clubs.green() > 2 * std::max(clubs.red(), clubs.blue()));
    QVERIFY(diamonds.blue() > 2 * std::max(diamonds.red(), diamonds.green()));
    QVERIFY(hearts.red() > 2 * std::max(hearts.green(), hearts.blue()));
    QVERIFY(spades.value() < 60);
    for (int suit = 0; suit < 4; ++suit) {
      const QImage face = Picture(suit * 13 + 9);  // the jacks
      for (int other = 0; other < 4; ++other)
        QCOMPARE(PixelsOf(face, SuitColour(other)) > 20, other == suit);
    }
    QCOMPARE(PixelsOf(Picture(38, true), hearts), 0);
  }

  void picturesScaleWithThePixelRatio() {
    const QPixmap sharp = CardPixmap(38, false, kCardPictureSize, 2.0);
    QCOMPARE(sharp.size(), QSize(54, 74));
    QCOMPARE(sharp.deviceIndependentSize().toSize(), QSize(27, 37));
    // The big symbol sits in the lower right, solid at both ratios.
    QCOMPARE(sharp.toImage().pixelColor(2 * 17, 2 * 28), SuitColour(2));
    QCOMPARE(CardPixmap(38, false, kCardPictureSize, 1.0).toImage().pixelColor(17, 28),
             SuitColour(2));
  }

  void layoutPlacesRanksAcrossAndSuitsDown() {
    QCOMPARE(CardAtLayout(0, 0), 12);  // Ac
    QCOMPARE(CardAtLayout(8, 0), 4);   // 6c
    QCOMPARE(CardAtLayout(0, 3), 51);  // As
    QCOMPARE(CardAtLayout(8, 3), 43);  // 6s
    QCOMPARE(CardAtLayout(9, 0), -1);
    QCOMPARE(CardAtLayout(0, 4), -1);
    QCOMPARE(CardButtonRect(8, 3), QRect(240, 120, 27, 37));
    QCOMPARE(CardLayoutSize(), QSize(267, 157));

    QWidget pane;
    const auto buttons = CreateCardButtons(&pane);
    QCOMPARE(buttons.size(), std::size_t{36});
    std::set<int> cards;
    for (int i = 0; i < 36; ++i) {
      const CCardButton* button = buttons[i];
      QCOMPARE(button->geometry(), CardButtonRect(i % 9, i / 9));
      QCOMPARE(button->objectName(), QString::number(1232 + button->GetCard()));
      QVERIFY(!button->IsUsed());
      cards.insert(button->GetCard());
    }
    QCOMPARE(cards, std::set<int>(quillet::kSixPlusDeck.begin(), quillet::kSixPlusDeck.end()));
  }
};

int RunCardButtonTest(int argc, char** argv) {
  CardButtonTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CardButtonTest.moc"
