// A job watched from the GUI thread: its end and its progress reach the owner as queued
// notices, on the GUI thread, with no timer running; a notice never reaches an owner that is
// gone, nor a later job than its own.
#include <QApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "views/GuiJob.h"

using namespace ferrox;

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// Delivers posted events only: a timer never fires here, so whatever arrives was sent.
bool DeliverUntil(const std::function<bool()>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    QCoreApplication::sendPostedEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Work that holds until released, then returns its value.
struct Gate {
  std::atomic<bool> open{false};
  Job<int>::Work Holding(int value) {
    return [this, value](Progress& progress) {
      while (!open && !progress.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return value;
    };
  }
};

}  // namespace

class GuiJobTest : public QObject {
  Q_OBJECT

 private slots:
  void theEndReachesTheOwnerThroughTheEventQueue() {
    Gate gate;
    int ended = 0;
    std::optional<int> result;
    QThread* thread = nullptr;
    GuiJob<int> job([&](Job<int>& done) {
      ++ended;
      result = done.Take();
      thread = QThread::currentThread();
    });
    QVERIFY(job.Start(gate.Holding(7)));
    QVERIFY(job.Running());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!job.Start(gate.Holding(8)));
    gate.open = true;
    QVERIFY(DeliverUntil([&] { return ended > 0; }));
    QCOMPARE(ended, 1);
    QCOMPARE(result, 7);
    QCOMPARE(thread, QApplication::instance()->thread());
    QVERIFY(!job.Running());
    QVERIFY(!QApplication::overrideCursor());
  }

  void progressReachesTheOwnerWhileItRuns() {
    int advanced = 0;
    bool ended = false;
    GuiJob<int>* self = nullptr;
    double fraction = 0;
    GuiJob<int> job([&](Job<int>&) { ended = true; },
                    [&] {
                      ++advanced;
                      fraction = self->Fraction();
                    });
    self = &job;
    QVERIFY(job.Start([](Progress& progress) {
      progress.AddTotal(2);
      progress.AddDone(1);
      while (!progress.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return 0;
    }));
    QVERIFY(DeliverUntil([&] { return advanced > 0; }));
    QCOMPARE(fraction, 0.5);
    job.Stop();
    QVERIFY(DeliverUntil([&] { return ended; }));
  }

  void aDestroyedOwnerIsNeverTold() {
    Gate gate;
    int ended = 0;
    auto job = std::make_unique<GuiJob<int>>([&](Job<int>&) { ++ended; });
    QVERIFY(job->Start(gate.Holding(1)));
    gate.open = true;
    job.reset();  // joins the work, which has sent its end by then
    QVERIFY(!QApplication::overrideCursor());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(ended, 0);
  }

  void theEndOfAnAbandonedJobDoesNotEndTheNextOne() {
    Gate first, second;
    std::optional<int> result;
    int ended = 0;
    GuiJob<int> job([&](Job<int>& done) {
      ++ended;
      result = done.Take();
    });
    QVERIFY(job.Start(first.Holding(1)));
    first.open = true;
    job.Abandon();
    QVERIFY(job.Start(second.Holding(2)));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(ended, 0);
    QVERIFY(job.Running());
    second.open = true;
    QVERIFY(DeliverUntil([&] { return ended > 0; }));
    QCOMPARE(result, 2);
  }
};

int RunGuiJobTest(int argc, char** argv) {
  GuiJobTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "GuiJobTest.moc"
