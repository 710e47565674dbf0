#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <list>

class Prompts;
class QWidget;

// Opens the projects of the command line and of second starts one by one from the event loop: a
// hand-over is answered before its windows are built, and input goes on between them. The files
// of one request open in order, each after the one before has returned; a request that comes
// while a box of another is open starts at once. A request for more windows than fit on a screen
// is confirmed first.
class OpeningQueue : public QObject {
 public:
  using Open = std::function<void(const QString& path)>;
  OpeningQueue(Prompts& prompts, QWidget* window, Open open);

  // The files of one request.
  void Add(const QStringList& paths);

  static constexpr int kWithoutAsking = 20;

 private:
  struct Request {
    QStringList Files;
    bool Confirmed = false;
    bool Busy = false;  // its question or one of its openings is on the stack
  };
  void Schedule();
  void Next();
  void Advance(Request& request);
  bool Asked(const QStringList& files);

  Prompts& prompts_;
  QWidget* window_;
  Open open_;
  std::list<Request> requests_;  // list: a request stays put while a nested turn changes others
  bool scheduled_ = false;
};
