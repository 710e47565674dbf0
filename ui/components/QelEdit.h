#pragma once

#include <QLineEdit>
#include <QStringList>
#include <functional>

class QFocusEvent;
class QKeyEvent;

// A single-line edit that completes the typed text from DataList: after each key release the first
// entry that begins with the text is put in and its untyped rest selected, so typing on overwrites
// the suggestion. Texts that some ExclusionList entry begins with are never completed.
class TQelEdit : public QLineEdit {
  Q_OBJECT
 public:
  // Lets the owner change the proposed text and the cursor position before they are applied.
  using SelectHandler = std::function<void(TQelEdit& sender, QString& selText, int& selPos)>;

  explicit TQelEdit(QWidget* parent = nullptr);

  bool ExitAfterTab() const { return FExitAfterTab; }
  void SetExitAfterTab(bool value) { FExitAfterTab = value; }
  bool OnlyIfUnequivocal() const { return FOnlyIfUnequivocal; }
  void SetOnlyIfUnequivocal(bool value) { FOnlyIfUnequivocal = value; }
  const QStringList& DataList() const { return FDataList; }
  void SetDataList(const QStringList& value) { FDataList = value; }
  const QStringList& ExclusionList() const { return FExclusionList; }
  void SetExclusionList(const QStringList& value) { FExclusionList = value; }
  bool CaseSensitiveExlusion() const { return FCaseSensitiveExlusion; }
  void SetCaseSensitiveExlusion(bool value) { FCaseSensitiveExlusion = value; }
  bool CaseSensitiveData() const { return FCaseSensitiveData; }
  void SetCaseSensitiveData(bool value) { FCaseSensitiveData = value; }
  const SelectHandler& OnSelect() const { return FOnSelect; }
  void SetOnSelect(SelectHandler handler) { FOnSelect = std::move(handler); }

  // The desktop's virtual key code of a Qt key (letters and digits as their upper-case character,
  // named keys as their codes, 0 for keys without one of their own).
  static int VirtualKeyCode(int qtKey);

 protected:
  virtual QString Select(QString text, int& pos);
  virtual void KeyUp(int virtualKey);

  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool Matches(const QString& entry, const QString& typed, bool caseSensitive) const;
  bool IsExcluded(const QString& typed) const;
  void Complete();

  bool FExitAfterTab = true;
  bool FOnlyIfUnequivocal = false;
  QStringList FDataList;
  QStringList FExclusionList;
  bool FCaseSensitiveExlusion = true;
  bool FCaseSensitiveData = false;
  SelectHandler FOnSelect;
  int FTypedLength = 0;
};
