#include "app/OpeningQueue.h"

#include <QTimer>

#include "platform/Prompts.h"
#include "shell/AppInfo.h"

OpeningQueue::OpeningQueue(Prompts& prompts, QWidget* window, Open open)
    : prompts_(prompts), window_(window), open_(std::move(open)) {}

void OpeningQueue::Add(const QStringList& paths) {
  if (paths.isEmpty()) return;
  requests_.push_back(paths);
  Schedule();
}

void OpeningQueue::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { Next(); });
}

// Called again inside an opening's box, it waits: the opening schedules the next when it returns.
void OpeningQueue::Next() {
  scheduled_ = false;
  if (busy_) return;
  busy_ = true;
  if (current_.isEmpty() && !requests_.empty()) {
    current_ = requests_.front();
    requests_.pop_front();
    if (!Confirmed(current_)) current_.clear();
  }
  if (!current_.isEmpty()) open_(current_.takeFirst());
  busy_ = false;
  if (!current_.isEmpty() || !requests_.empty()) Schedule();
}

bool OpeningQueue::Confirmed(const QStringList& request) {
  return request.size() <= kWithoutAsking ||
         prompts_.Message(window_, kMessageCaption,
                          QString("Es sollen %1 Projekte auf einmal geöffnet werden. Sollen sie "
                                  "alle geöffnet werden?")
                              .arg(request.size()),
                          {PromptButton::Yes, PromptButton::No},
                          PromptIcon::Question) == PromptButton::Yes;
}
