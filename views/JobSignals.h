#pragma once
// What a job's thread tells the GUI thread, as queued signals: its end, and that its work
// advanced. Each names the job by its serial number, so a notice of a job that was
// abandoned meanwhile is told apart from one of the job running now.

#include <QObject>

namespace ferrox {

class JobSignals : public QObject {
  Q_OBJECT

 signals:
  void ended(quint64 serial);
  void advanced(quint64 serial);
};

}  // namespace ferrox
