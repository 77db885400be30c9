// Range boxes: the modified flag and drops of range drag data.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include "views/RangeDragData.h"
#include "views/RangeEdit.h"

using namespace ferrox;

namespace {

constexpr Qt::DropActions kTreeActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

QByteArray Utf16WithNul(const QString& text) {
  QByteArray bytes;
  for (QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  return bytes.append(2, '\0');
}

QMimeData* RangeData(const QByteArray& bytes) {
  auto* mime = new QMimeData;
  mime->setData(kRangeMimeFormat, bytes);
  return mime;
}

// A box whose owner handles drops as every owner must.
struct OwnedBox {
  CRangeEdit box;
  QSignalSpy drops{&box, &CRangeEdit::rangeDropped};
  OwnedBox() {
    QObject::connect(&box, &CRangeEdit::rangeDropped, &box, ApplyRangeDrop);
    box.show();
  }
  // Entered first, as a real drag is.
  bool Drop(QMimeData* mime, Qt::DropActions actions = kTreeActions) {
    QDragEnterEvent enter(QPoint(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    QDropEvent drop(QPointF(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &drop);
    delete mime;
    return drop.isAccepted();
  }
};

// The action that drag enter and drag over both accepted; IgnoreAction when either refused.
Qt::DropAction AcceptedAction(QWidget& box, const QMimeData& mime,
                              Qt::DropActions actions = kTreeActions) {
  QDragEnterEvent enter(QPoint(5, 5), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &enter);
  QDragMoveEvent move(QPoint(8, 5), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &move);
  if (!enter.isAccepted() || !move.isAccepted() || enter.dropAction() != move.dropAction())
    return Qt::IgnoreAction;
  return enter.dropAction();
}

}  // namespace

class RangeEditTest : public QObject {
  Q_OBJECT

 private slots:
  void textChangesSetModified() {
    CRangeEdit box;
    box.show();
    QVERIFY(!box.Modified());
    QTest::keyClicks(&box, "aa, kk");
    QCOMPARE(box.text(), QString("aa, kk"));
    QVERIFY(box.Modified());
    box.SetModified(false);
    box.setText("AKs");
    QVERIFY(box.Modified());
  }

  void onlyRangeDataIsOfferedCopy() {
    CRangeEdit box;
    const std::unique_ptr<QMimeData> range(MakeRangeMimeData("AKs"));
    QCOMPARE(AcceptedAction(box, *range), Qt::CopyAction);
    QCOMPARE(AcceptedAction(box, *range, Qt::MoveAction), Qt::IgnoreAction);
    QMimeData text;
    text.setText("AKs");
    QCOMPARE(AcceptedAction(box, text), Qt::IgnoreAction);
  }

  void dropWithMarkerPutsTheRangeInTheBox() {
    OwnedBox owned;
    owned.box.setText("QQ");
    owned.box.SetModified(false);
    QVERIFY(!owned.Drop(MakeRangeMimeData("aa, kk")));  // the source is told nothing was taken
    QCOMPARE(owned.drops.size(), 1);
    QCOMPARE(owned.drops[0][0].value<CRangeEdit*>(), &owned.box);
    QCOMPARE(owned.drops[0][1].toByteArray(), Utf16WithNul("#range=aa, kk"));
    QCOMPARE(owned.box.text(), QString("aa, kk"));
    QVERIFY(owned.box.Modified());
  }

  void dropWithoutMarkerLeavesTheText() {
    OwnedBox owned;
    owned.box.setText("QQ");
    owned.box.SetModified(false);
    owned.Drop(RangeData(Utf16WithNul("AKs")));
    QCOMPARE(owned.drops.size(), 1);
    QCOMPARE(owned.box.text(), QString("QQ"));
    QVERIFY(owned.box.Modified());
  }

  void dropOfOtherDataIsRefused() {
    OwnedBox owned;
    owned.box.setText("QQ");
    owned.box.SetModified(false);
    auto* text = new QMimeData;
    text->setText("#range=AKs");
    owned.Drop(text);
    QVERIFY(owned.drops.isEmpty());
    QCOMPARE(owned.box.text(), QString("QQ"));
    QVERIFY(!owned.box.Modified());
  }

  void ownerReadsTheCharactersTheBlockHolds() {
    CRangeEdit box;
    box.setText("QQ");
    QVERIFY(!ApplyRangeDrop(nullptr, Utf16WithNul("#range=AKs")));
    QVERIFY(!ApplyRangeDrop(&box, QByteArray()));
    QVERIFY(!ApplyRangeDrop(&box, QByteArray(1, '\0')));
    QCOMPARE(box.text(), QString("QQ"));
    // Without its NUL the block's last character is not read: (20 - 1) / 2 = 9.
    QVERIFY(ApplyRangeDrop(&box, Utf16WithNul("#range=AKs").chopped(2)));
    QCOMPARE(box.text(), QString("AK"));
    QVERIFY(ApplyRangeDrop(&box, Utf16WithNul("#range=77+, A9s+")));
    QCOMPARE(box.text(), QString("77+, A9s+"));
  }
};

int RunRangeEditTest(int argc, char** argv) {
  RangeEditTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "RangeEditTest.moc"
