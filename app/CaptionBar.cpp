#include "app/CaptionBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace ferrox {

CaptionBar::CaptionBar(const QString& address, QWidget* parent) : QFrame(parent) {
  setObjectName("CaptionBar");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::ToolTipBase);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 6, 3);
  go_ = new QPushButton("Go...", this);
  go_->setToolTip("Click here to see more options");
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
  icon->setToolTip("<b>Important</b><br>Here is an informational message for the user.");
  auto* text = new QLabel(address, this);
  text->setForegroundRole(QPalette::ToolTipText);
  layout->addWidget(go_);
  layout->addWidget(icon);
  layout->addWidget(text);
  layout->addStretch();
  connect(go_, &QPushButton::clicked, this, &CaptionBar::goClicked);
}

}  // namespace ferrox
