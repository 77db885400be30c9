#pragma once
// One program per home. The first start holds a lock file for its whole run and listens on
// a local socket named after it; a second start on the same home finds the lock taken and
// asks the first, through the socket, to bring its window forward. A lock left by a
// program that died is taken over.

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

class QLocalServer;
class QLockFile;

namespace ferrox {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(std::filesystem::path lockFile, QObject* parent = nullptr);
  ~SingleInstance() override;

  enum class Claim {
    Held,       // this process holds the home now
    Taken,      // another running program holds it
    Unguarded,  // no lock can be made there (a read-only folder): nothing to guard with
  };
  // Takes the lock without waiting; when held, also listens for later starts.
  Claim TryClaim();
  // A second start: asks the holder to show itself; true when it answered in time.
  bool AskHolderToShow(int timeoutMs = 3000) const;
  // The socket's name (a file name in the system's temporary folder), from the lock's path.
  QString SocketName() const;

 signals:
  // A later start on the same home asked for the window.
  void showRequested();

 private:
  void Listen();

  std::filesystem::path lockFile_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace ferrox
