#include "app/HandSession.h"

#include <QFileInfo>

#include "app/FerroxApp.h"
#include "engine/HandRequest.h"
#include "model/HandsModel.h"

namespace ferrox {

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

bool HandSession::IsModified() const { return !(Current() == saved_); }

}  // namespace ferrox
