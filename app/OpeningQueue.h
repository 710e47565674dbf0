#pragma once

#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>

class Prompts;
class QWidget;

// Opens the projects of the command line and of second starts one by one from the event loop: a
// hand-over is answered before its windows are built, input goes on between them, and a box that
// one opening shows (with its own event loop) never has another opening run inside it. A request
// for more windows than fit on a screen is confirmed first.
class OpeningQueue : public QObject {
 public:
  using Open = std::function<void(const QString& path)>;
  OpeningQueue(Prompts& prompts, QWidget* window, Open open);

  // The files of one request, opened after those queued before.
  void Add(const QStringList& paths);

  static constexpr int kWithoutAsking = 20;

 private:
  void Schedule();
  void Next();
  bool Confirmed(const QStringList& request);

  Prompts& prompts_;
  QWidget* window_;
  Open open_;
  std::deque<QStringList> requests_;
  QStringList current_;
  bool busy_ = false;
  bool scheduled_ = false;
};
