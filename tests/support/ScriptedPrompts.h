#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "ui/platform/Prompts.h"

// A Prompts that answers from a script and records every question, so GUI tests can check what the
// user would have been asked. An unexpected question (no scripted answer of its kind) fails loudly.
class ScriptedPrompts : public Prompts {
 public:
  struct MessageCall {
    QString Caption, Text;
    std::vector<PromptButton> Buttons;
    PromptIcon Icon;
  };

  std::vector<MessageCall> Messages;
  std::vector<FileDialogSpec> FileDialogs;
  std::vector<uint32_t> ColorRequests;
  std::vector<QString> HelpTopics;
  std::vector<QUrl> Urls;
  int PrinterSetups = 0;

  std::deque<PromptButton> MessageAnswers;
  std::deque<std::optional<uint32_t>> ColorAnswers;
  std::deque<std::optional<FileChoice>> FileAnswers;
  std::deque<bool> PrinterAnswers;

  PromptButton Message(QWidget*, const QString& caption, const QString& text,
                       const std::vector<PromptButton>& buttons, PromptIcon icon) override {
    Messages.push_back({caption, text, buttons, icon});
    if (MessageAnswers.empty()) {
      if (buttons.size() == 1) return buttons.front();
      throw std::logic_error("unscripted question: " + text.toStdString());
    }
    return Pop(MessageAnswers);
  }

  std::optional<uint32_t> ChooseColor(QWidget*, uint32_t initial) override {
    ColorRequests.push_back(initial);
    if (ColorAnswers.empty()) throw std::logic_error("unscripted colour dialog");
    return Pop(ColorAnswers);
  }

  std::optional<FileChoice> OpenFile(QWidget*, const FileDialogSpec& spec) override {
    return File(spec);
  }
  std::optional<FileChoice> SaveFile(QWidget*, const FileDialogSpec& spec) override {
    return File(spec);
  }

  bool PrinterSetup(QWidget*, QPrinter&) override {
    ++PrinterSetups;
    return PrinterAnswers.empty() ? false : Pop(PrinterAnswers);
  }

  void ShowHelp(const QString& topic) override { HelpTopics.push_back(topic); }
  void OpenUrl(const QUrl& url) override { Urls.push_back(url); }

  QString LastMessageText() const { return Messages.empty() ? QString() : Messages.back().Text; }

 private:
  template <typename T>
  static T Pop(std::deque<T>& queue) {
    T value = queue.front();
    queue.pop_front();
    return value;
  }

  std::optional<FileChoice> File(const FileDialogSpec& spec) {
    FileDialogs.push_back(spec);
    if (FileAnswers.empty()) throw std::logic_error("unscripted file dialog");
    return Pop(FileAnswers);
  }
};
