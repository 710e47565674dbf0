#include "ui/project/DisplaySettingsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/platform/Prompts.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/FieldHabits.h"

namespace {

const QString kHelpTopic = QStringLiteral("Darstellung");

// The dialog's switches and the settings they stand for, in the order they are shown.
struct Switch {
  QCheckBox* TDisplaySettings::*Box;
  bool ProjectSettings::*Setting;
};

constexpr Switch kSwitches[] = {
    {&TDisplaySettings::AxisNumbersBox, &ProjectSettings::AxisNumbers},
    {&TDisplaySettings::LegendBox, &ProjectSettings::Legend},
    {&TDisplaySettings::SmoothBox, &ProjectSettings::SmoothCurves},
    {&TDisplaySettings::ExactBox, &ProjectSettings::ExactCurves},
};

QCheckBox* NewSwitch(QLayout& layout, const char* name, const QString& text) {
  auto* box = new QCheckBox(text);
  box->setObjectName(name);
  layout.addWidget(box);
  return box;
}

QPushButton* NewCommand(QLayout& layout, QWidget* parent, const QString& caption) {
  QPushButton* button = NewDialogButton(parent, caption, QRect(0, 0, 91, 28));
  button->setMinimumSize(91, 28);
  layout.addWidget(button);
  return button;
}

}  // namespace

TDisplaySettings::TDisplaySettings(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      prompts_(prompts) {
  setObjectName("DisplaySettings");
  setWindowTitle(QStringLiteral("Darstellung"));
  setModal(true);
  setFont(DialogFont());
  auto* group = new QGroupBox(QStringLiteral("Im Graphen zeigen"), this);
  auto* switches = new QVBoxLayout(group);
  AxisNumbersBox = NewSwitch(*switches, "AxisNumbersBox", QStringLiteral("&Zahlen an den Achsen"));
  LegendBox = NewSwitch(*switches, "LegendBox", QStringLiteral("&Legende mit den Funktionen"));
  SmoothBox = NewSwitch(*switches, "SmoothBox", QStringLiteral("&Glatte Kurven (Kantenglättung)"));
  ExactBox = NewSwitch(*switches, "ExactBox", QStringLiteral("&Exakte Kurven bei jedem Zoom"));
  auto* note =
      new QLabel(QStringLiteral("Gilt für das Graphenfenster, die Bilddateien und den "
                                "Druck und wird mit dem Projekt gespeichert."));
  note->setWordWrap(true);
  switches->addWidget(note);
  auto* commands = new QHBoxLayout;
  commands->addStretch();
  OkButton = NewCommand(*commands, this, QStringLiteral("OK"));
  CancelButton = NewCommand(*commands, this, QStringLiteral("Abbrechen"));
  HelpButton = NewCommand(*commands, this, QStringLiteral("&Hilfe"));
  auto* whole = new QVBoxLayout(this);
  whole->addWidget(group);
  whole->addLayout(commands);
  whole->setSizeConstraint(QLayout::SetFixedSize);
  note->setFixedWidth(group->sizeHint().width());
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this, [this] { prompts_.ShowHelp(kHelpTopic); });
  // Enter, F1 and Esc act whichever switch has the focus.
  PreviewKeys(*this, *this);
}

bool TDisplaySettings::Edit(ProjectSettings& settings) {
  for (const Switch& s : kSwitches) (this->*s.Box)->setChecked(settings.*s.Setting);
  if (ExecCentred(*this) != QDialog::Accepted) return false;
  bool changed = false;
  for (const Switch& s : kSwitches) {
    const bool on = (this->*s.Box)->isChecked();
    changed = changed || on != settings.*s.Setting;
    settings.*s.Setting = on;
  }
  return changed;
}

bool TDisplaySettings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      HandleDialogKey(static_cast<QKeyEvent*>(event)->key(),
                      {.Confirm = [this] { accept(); },
                       .Help = [this] { prompts_.ShowHelp(kHelpTopic); },
                       .Cancel = [this] { reject(); }}))
    return true;
  return QDialog::eventFilter(watched, event);
}

QAction* AddDisplaySettingsItem(QMenu& menu, QAction* before, QWidget& owner, Prompts& prompts,
                                ProjectSettings& settings, std::function<void()> changed) {
  auto* item = new QAction(QStringLiteral("Da&rstellung..."), &menu);
  item->setObjectName("Darstellung1");
  menu.insertAction(before, item);
  QObject::connect(item, &QAction::triggered, &owner,
                   [&owner, &prompts, &settings, changed = std::move(changed)] {
                     TDisplaySettings dialog(prompts, &owner);
                     if (dialog.Edit(settings)) changed();
                   });
  return item;
}
