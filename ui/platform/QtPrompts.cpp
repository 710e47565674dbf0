#include "ui/platform/QtPrompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include "ui/platform/QtColor.h"

namespace {

struct FilterEntry {
  QString Name, Patterns;
};

std::vector<FilterEntry> ParseFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  std::vector<FilterEntry> entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) entries.push_back({parts[i], parts[i + 1]});
  return entries;
}

QMessageBox::StandardButton ToQt(PromptButton button) {
  switch (button) {
    case PromptButton::Ok:
      return QMessageBox::Ok;
    case PromptButton::Cancel:
      return QMessageBox::Cancel;
    case PromptButton::Yes:
      return QMessageBox::Yes;
    case PromptButton::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::None:
      return QMessageBox::NoIcon;
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Exclamation:
      return QMessageBox::Warning;
    case PromptIcon::Question:
      return QMessageBox::Question;
    case PromptIcon::Stop:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

bool Offers(const std::vector<PromptButton>& buttons, PromptButton button) {
  return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

// Closing the box otherwise than by a button means the most cautious answer it offers.
PromptButton EscapeAnswer(const std::vector<PromptButton>& buttons) {
  for (PromptButton b : {PromptButton::Cancel, PromptButton::No, PromptButton::Ok})
    if (Offers(buttons, b)) return b;
  return buttons.empty() ? PromptButton::Ok : buttons.front();
}

}  // namespace

namespace FileFilters {

QStringList ToQt(const QString& filter) {
  QStringList result;
  for (const FilterEntry& entry : ParseFilter(filter)) {
    const QString patterns = QString(entry.Patterns).replace(';', ' ');
    // A name that already shows its patterns ("Qel Graphics  (*.qgp)") is shown as it is.
    if (entry.Name.trimmed().endsWith("(" + patterns + ")"))
      result << entry.Name;
    else
      result << entry.Name + " (" + patterns + ")";
  }
  return result;
}

QString CompletionSuffix(const QString& filter, int filterIndex, const QString& defaultExt) {
  const std::vector<FilterEntry> entries = ParseFilter(filter);
  static const QRegularExpression single(R"(^\*\.(\w+)$)");
  if (filterIndex >= 1 && filterIndex <= int(entries.size())) {
    const auto match = single.match(entries[filterIndex - 1].Patterns.trimmed());
    if (match.hasMatch()) return match.captured(1);
  }
  QString ext = defaultExt;
  if (ext.startsWith("*")) ext.remove(0, 1);
  if (ext.startsWith(".")) ext.remove(0, 1);
  return ext;
}

}  // namespace FileFilters

QtPrompts::QtPrompts(std::function<void(const QString&)> showHelp, QString pagesFolder)
    : showHelp_(std::move(showHelp)), pagesFolder_(std::move(pagesFolder)) {}

PromptButton QtPrompts::Message(QWidget* parent, const QString& caption, const QString& text,
                                const std::vector<PromptButton>& buttons, PromptIcon icon) {
  QMessageBox box(ToQt(icon), caption, text, QMessageBox::NoButton, parent);
  // Texts carry file contents and expressions: markup in them must show as typed, never render.
  box.setTextFormat(Qt::PlainText);
  for (PromptButton b : buttons) box.addButton(ToQt(b));
  box.setEscapeButton(ToQt(EscapeAnswer(buttons)));
  const int pressed = box.exec();
  for (PromptButton b : buttons)
    if (pressed == ToQt(b)) return b;
  return EscapeAnswer(buttons);
}

std::optional<uint32_t> QtPrompts::ChooseColor(QWidget* parent, uint32_t initial) {
  const QColor chosen = QColorDialog::getColor(ColorFromValue(initial), parent);
  if (!chosen.isValid()) return std::nullopt;
  return ValueFromColor(chosen);
}

std::optional<FileChoice> QtPrompts::OpenFile(QWidget* parent, const FileDialogSpec& spec) {
  return RunFileDialog(parent, spec, false);
}

std::optional<FileChoice> QtPrompts::SaveFile(QWidget* parent, const FileDialogSpec& spec) {
  return RunFileDialog(parent, spec, true);
}

std::optional<FileChoice> QtPrompts::RunFileDialog(QWidget* parent, const FileDialogSpec& spec,
                                                   bool save) {
  const QStringList filters = FileFilters::ToQt(spec.Filter);
  QFileDialog dialog(parent, spec.Title);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.AskBeforeReplacing);
  dialog.setNameFilters(filters);
  const int initial = std::clamp(spec.FilterIndex, 1, int(std::max<qsizetype>(1, filters.size())));
  if (!filters.isEmpty()) dialog.selectNameFilter(filters[initial - 1]);
  auto currentIndex = [&] { return int(filters.indexOf(dialog.selectedNameFilter())) + 1; };
  auto updateSuffix = [&] {
    dialog.setDefaultSuffix(
        FileFilters::CompletionSuffix(spec.Filter, std::max(1, currentIndex()), spec.DefaultExt));
  };
  updateSuffix();
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, updateSuffix);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString path = dialog.selectedFiles().front();
    if (save && spec.AskBeforeCreating && !ConfirmCreation(&dialog, spec, path)) continue;
    return FileChoice{path, std::max(1, currentIndex())};
  }
  return std::nullopt;
}

bool QtPrompts::ConfirmCreation(QWidget* parent, const FileDialogSpec& spec, const QString& path) {
  if (QFileInfo::exists(path)) return true;
  const QString text = path + "\nDiese Datei ist nicht vorhanden.\nSoll sie erstellt werden?";
  return Message(parent, spec.Title, text, {PromptButton::Yes, PromptButton::No},
                 PromptIcon::Question) == PromptButton::Yes;
}

// The set-up only chooses the printer and its page; printing starts elsewhere, so the dialog must
// not offer "Drucken".
bool QtPrompts::PrinterSetup(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Drucker auswählen"));
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
      ok->setText(QStringLiteral("&Auswählen"));
  return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::ShowHelp(const QString& topic) {
  if (showHelp_) showHelp_(topic);
}

// A click that seems to do nothing leaves the user guessing, so a browser that cannot be started
// is reported together with the address, which the user may open by hand.
void QtPrompts::OpenUrl(const QUrl& url) {
  const QUrl target =
      url.isRelative() ? QUrl::fromLocalFile(QDir(pagesFolder_).absoluteFilePath(url.path())) : url;
  if (QDesktopServices::openUrl(target)) return;
  Message(nullptr, QStringLiteral("Qel Graphics"),
          QStringLiteral("Es konnte kein Webbrowser gestartet werden.\nÖffnen Sie die Adresse "
                         "bitte selbst:\n%1")
              .arg(target.toString(QUrl::PreferLocalFile)),
          {PromptButton::Ok}, PromptIcon::Information);
}
