#pragma once
// The six range links: for each player, the range document whose range replaces the
// player's text. A link follows its document's life: a closed (destroyed) document is no
// longer linked, so the player's text is parsed again.
//
// GUI thread only, like the documents. A calculation copies the linked range when its
// request is built (ValidateRequest) and never reads a document afterwards.

#include <QPointer>
#include <array>

#include "engine/RangeLinks.h"
#include "model/FerroxDoc.h"

namespace ferrox {

class DocumentLinks : public RangeLinks {
 public:
  void Link(int slot, CFerroxDoc* document);
  void Unlink(int slot);
  // Every slot empty and no current slot.
  void UnlinkAll();
  CFerroxDoc* Document(int slot) const;
  // The slot a document is linked to, -1 when none.
  int SlotOf(const CFerroxDoc* document) const;

  bool IsLinked(int slot) const override;
  const quillet::Spec* LinkedRange(int slot) const override;

  int Current() const { return current_; }
  void SetCurrent(int slot) { current_ = slot; }

 private:
  std::array<QPointer<CFerroxDoc>, kPlayerSlots> documents_;
  int current_ = -1;  // the slot of the active editor
};

}  // namespace ferrox
