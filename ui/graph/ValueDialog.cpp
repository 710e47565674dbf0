#include "ui/graph/ValueDialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "analysis/CurveAnalysis.h"
#include "engine/QelParser.h"
#include "project/ProjectDocument.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/DialogHabits.h"

TValueDialog::TValueDialog(TQelParser& engine, const ProjectDocument& project, QWidget* parent)
    : QDialog(parent), engine_(engine), project_(project) {
  setWindowTitle(QString::fromUtf8("Wert berechnen"));
  setFixedSize(360, 280);
  auto* label = new QLabel("x:", this);
  label->setGeometry(12, 16, 24, 21);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(40, 14, 200, 23);
  QPushButton* compute = NewDialogButton(this, "Berechnen", QRect(252, 12, 96, 27));
  compute->setDefault(true);
  connect(compute, &QPushButton::clicked, this, &TValueDialog::BerechnenClick);
  connect(Edit1, &QLineEdit::returnPressed, this, &TValueDialog::BerechnenClick);
  ListView1 = new QTreeWidget(this);
  ListView1->setGeometry(12, 50, 336, 218);
  ListView1->setHeaderLabels({"Funktion", "f(x)"});
  ListView1->setRootIsDecorated(false);
  ListView1->header()->setStretchLastSection(true);
}

void TValueDialog::BerechnenClick() {
  TQelParser& engine = engine_;
  const std::string x = ToWindows1252(Edit1->text());
  ListView1->clear();
  for (size_t i = 0; i < project_.Functions.size(); ++i) {
    const std::string& expression = project_.Functions[i].Expression;
    if (expression.find_first_not_of(" \t") == std::string::npos) continue;
    std::string message;
    const std::optional<long double> value = ValueAt(engine, expression, x, message);
    const std::string name = "f" + std::to_string(i + 1) + "(" + x + ")";
    const std::string shown = value ? engine.LongDoubleToStr(*value) : message;
    ListView1->addTopLevelItem(
        new QTreeWidgetItem(QStringList{FromWindows1252(name), FromWindows1252(shown)}));
  }
  ListView1->resizeColumnToContents(0);
}
