#pragma once
// "New": which kind of document to start, a calculator hand or the equity chart.

#include <QDialog>

class QListWidget;

namespace ferrox {

enum class DocumentKind { Calculator = 0, Chart = 1 };

class NewDocumentDialog : public QDialog {
  Q_OBJECT
 public:
  explicit NewDocumentDialog(QWidget* parent = nullptr);
  DocumentKind Kind() const;

 private:
  QListWidget* kinds_ = nullptr;
};

}  // namespace ferrox
