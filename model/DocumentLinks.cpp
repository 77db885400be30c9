#include "model/DocumentLinks.h"

#include <QThread>

namespace ferrox {
namespace {
bool ValidSlot(int slot) { return slot >= 0 && slot < kPlayerSlots; }
}  // namespace

void DocumentLinks::Link(int slot, CFerroxDoc* document) {
  if (ValidSlot(slot)) documents_[slot] = document;
}

void DocumentLinks::Unlink(int slot) {
  if (ValidSlot(slot)) documents_[slot] = nullptr;
}

void DocumentLinks::UnlinkAll() {
  for (auto& d : documents_) d = nullptr;
  current_ = -1;
}

CFerroxDoc* DocumentLinks::Document(int slot) const { return ValidSlot(slot) ? documents_[slot].data() : nullptr; }

int DocumentLinks::SlotOf(const CFerroxDoc* document) const {
  for (int slot = 0; document && slot < kPlayerSlots; ++slot)
    if (documents_[slot] == document) return slot;
  return -1;
}

bool DocumentLinks::IsLinked(int slot) const { return Document(slot) != nullptr; }

const quillet::Spec* DocumentLinks::LinkedRange(int slot) const {
  const CFerroxDoc* document = Document(slot);
  if (!document || !document->HasRange()) return nullptr;
  // A worker must read its request's copy; a live document may go away under it.
  Q_ASSERT(QThread::currentThread() == document->thread());
  if (QThread::currentThread() != document->thread()) return nullptr;
  return &document->Range();
}

}  // namespace ferrox
