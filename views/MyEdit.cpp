#include "views/MyEdit.h"

namespace ferrox {

CMyEdit::CMyEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] { modified_ = true; });
}

}  // namespace ferrox
