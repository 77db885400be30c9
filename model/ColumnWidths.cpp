#include "model/ColumnWidths.h"

#include <utility>

namespace ferrox {
namespace {

constexpr int kMaxWidth = 2000;  // a stored width beyond any screen is a damaged value

}  // namespace

ColumnWidths::ColumnWidths(QSettings* store, QString group, QString prefix, std::vector<int> defaults, int fallback)
    : store_(store), group_(std::move(group)), prefix_(std::move(prefix)), defaults_(std::move(defaults)),
      fallback_(fallback) {}

int ColumnWidths::Default(int column) const {
  return column >= 0 && column < static_cast<int>(defaults_.size()) ? defaults_[column] : fallback_;
}

QString ColumnWidths::Key(int column) const { return group_ + '/' + prefix_ + QString::number(column); }

int ColumnWidths::Width(int column) const {
  if (!store_) return Default(column);
  bool ok = false;
  const int width = store_->value(Key(column)).toInt(&ok);
  return ok && width >= 0 && width <= kMaxWidth ? width : Default(column);
}

void ColumnWidths::SetWidth(int column, int width) {
  if (store_ && width >= 0 && width <= kMaxWidth) store_->setValue(Key(column), width);
}

}  // namespace ferrox
