#pragma once
// The calculator's hand as a document: what the player set up (the Hands pane, the cards,
// the open range editors, the rule set, the mode and how to evaluate), the file it was last
// opened from or saved to, and whether it changed since.

#include <QString>
#include <vector>

#include "engine/SavedHand.h"

namespace ferrox {

class CFerroxApp;

class HandSession {
 public:
  explicit HandSession(CFerroxApp& app);

  // The hand as it stands now.
  SavedHand Current() const;
  // Makes the hand (as OpenedHand leaves it) the program's, but for the mode, which the
  // frame switches first. Returns the players whose editor was made: they need a window.
  std::vector<int> Restore(const SavedHand& hand);

  // The hand file, empty while the hand has none.
  const QString& File() const { return file_; }
  // "name.f6hand", or "Untitled" without a file.
  QString DisplayName() const;
  // From now on the hand counts as unchanged, kept in file (empty: in none).
  void MarkSaved(const QString& file);
  // Changed since then; an untitled hand only once something was entered.
  bool IsModified() const;

 private:
  CFerroxApp& app_;
  QString file_;
  SavedHand saved_;
};

}  // namespace ferrox
