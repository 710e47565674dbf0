#include "ui/app/OpeningQueue.h"

#include <QTimer>
#include <algorithm>

#include "ui/platform/Prompts.h"
#include "ui/shell/AppInfo.h"

OpeningQueue::OpeningQueue(Prompts& prompts, QWidget* window, Open open)
    : prompts_(prompts), window_(window), open_(std::move(open)) {}

void OpeningQueue::Add(const QStringList& paths) {
  if (paths.isEmpty()) return;
  requests_.push_back({paths});
  Schedule();
}

void OpeningQueue::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { Next(); });
}

// A busy request goes on once its box is closed and its turn returns here.
void OpeningQueue::Next() {
  scheduled_ = false;
  const auto idle = [](const Request& request) { return !request.Busy; };
  const auto request = std::find_if(requests_.begin(), requests_.end(), idle);
  if (request == requests_.end()) return;
  Advance(*request);
  if (request->Files.isEmpty()) requests_.erase(request);
  if (std::any_of(requests_.begin(), requests_.end(), idle)) Schedule();
}

void OpeningQueue::Advance(Request& request) {
  request.Busy = true;
  if (!request.Confirmed) {
    request.Confirmed = true;
    if (!Asked(request.Files)) request.Files.clear();
  } else {
    open_(request.Files.takeFirst());
  }
  request.Busy = false;
}

bool OpeningQueue::Asked(const QStringList& files) {
  return files.size() <= kWithoutAsking ||
         prompts_.Message(window_, kMessageCaption,
                          QString("Es sollen %1 Projekte auf einmal geöffnet werden. Sollen sie "
                                  "alle geöffnet werden?")
                              .arg(files.size()),
                          {PromptButton::Yes, PromptButton::No},
                          PromptIcon::Question) == PromptButton::Yes;
}
