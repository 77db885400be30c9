#include "widgets/RibbonCategory.h"

#include <QFrame>
#include <QHBoxLayout>

#include "widgets/RibbonPanel.h"

namespace ferrox::widgets {

RibbonCategory::RibbonCategory(const QString& name, QWidget* parent)
    : QWidget(parent), name_(name) {
  row_ = new QHBoxLayout(this);
  row_->setContentsMargins(2, 0, 2, 0);
  row_->setSpacing(2);
  row_->addStretch(1);  // keeps the panels packed at the left
}

RibbonPanel* RibbonCategory::addPanel(const QString& title) {
  const int end = row_->count() - 1;  // before the stretch
  if (!panels_.isEmpty()) {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    row_->insertWidget(end, line);
  }
  auto* panel = new RibbonPanel(title, this);
  row_->insertWidget(row_->count() - 1, panel);
  panels_.append(panel);
  return panel;
}

}  // namespace ferrox::widgets
