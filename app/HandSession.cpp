#include "app/HandSession.h"

#include <QFileInfo>
#include <algorithm>

#include "app/FerroxApp.h"
#include "engine/HandRequest.h"
#include "engine/RequestValidation.h"
#include "model/HandsModel.h"

namespace ferrox {
namespace {

bool IsBlank(const SavedHand& hand) {
  const auto empty = [](const auto& part) { return part.empty(); };
  return std::all_of(hand.ranges.begin(), hand.ranges.end(), empty) && hand.deadText.empty() &&
         hand.board.empty() && hand.dead.empty() &&
         std::all_of(hand.playerCards.begin(), hand.playerCards.end(), empty) && hand.editors.empty();
}

// The dead cards a check will put on the table from the typed text count as there already:
// an evaluation does not change the hand the player set up.
SavedHand WithTypedDead(SavedHand hand) {
  if (hand.dead.empty()) hand.dead = ReadDeadCards(hand.deadText);
  return hand;
}

}  // namespace

HandSession::HandSession(CFerroxApp& app) : app_(app) { saved_ = Current(); }

SavedHand HandSession::Current() const {
  SavedHand hand = app_.Hands().Snapshot();
  const AppSettings& settings = app_.settings();
  hand.rules = settings.rules;
  hand.useMode = app_.mode != 0;
  hand.enumerate = settings.enumerate != 0;
  hand.runs = settings.runs;
  return hand;
}

std::vector<int> HandSession::Restore(const SavedHand& hand) {
  AppSettings& settings = app_.settings();
  settings.rules = hand.rules;
  settings.enumerate = hand.enumerate ? 1 : 0;
  settings.runs = hand.runs;
  app_.SyncPaneSettings();  // the ranges below are read with the hand's rules
  const SavedHand opened = OpenedHand(hand, app_.Parser());
  return app_.Hands().Restore(opened, OpenedSpecs(opened, app_.Parser()));
}

QString HandSession::DisplayName() const {
  return file_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(file_).fileName();
}

void HandSession::MarkSaved(const QString& file) {
  file_ = file;
  saved_ = Current();
}

bool HandSession::IsModified() const {
  const SavedHand now = Current();
  // An untitled hand with nothing entered holds nothing to lose, whatever the settings.
  return !(WithTypedDead(now) == WithTypedDead(saved_)) && (!file_.isEmpty() || !IsBlank(now));
}

}  // namespace ferrox
