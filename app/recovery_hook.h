#pragma once
// The editor's side of the recovery copy (settings/recovery): it watches the
// document's edit count on a short timer, and when the schedule says so it
// copies the house (a memcpy) and hands the copy to a worker thread, which
// writes the house file text. A frame never waits for the disk. At start it
// asks about the copies that editors no longer running left behind.
#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <memory>

#include "settings/recovery.h"

class QTimer;
class QWidget;

namespace tavi {

class TTAVIDoc;
class UiPrompts;

class RecoveryHook : public QObject {
  Q_OBJECT
 public:
  struct Source {
    std::function<const TTAVIDoc*()> doc;
    // The file the house belongs to: its name, or the name a recovered
    // house had.
    std::function<QString()> fileName;
  };
  // `store` may be unusable (no state folder): then nothing is kept.
  RecoveryHook(std::unique_ptr<RecoveryStore> store, Source source, QObject* parent = nullptr);
  // Waits for a write in flight, then removes the copy: the window goes
  // without a crash, and the user has been asked about the changes.
  ~RecoveryHook() override;

  // Milliseconds of a steady clock; tests drive it.
  std::function<int64_t()> clock;
  // Looks at the document (the timer calls it): new edits are counted, and a
  // due copy is started on the worker thread. True when one was started.
  bool Tick();
  // Saved, New or Open: the copy goes and the count starts afresh.
  void Forget();
  // Waits until no write is in flight.
  void WaitIdle();
  RecoveryStore& Store() { return *store_; }
  QTimer* Timer() const { return timer_; }

  // The start-up question for each copy left by an editor no longer running,
  // newest first, in `language`. Yes loads it through `open` (false: it could
  // not be read, and the question goes on); No deletes it; Cancel keeps it
  // for the next start. Returns the copy taken, if any.
  bool AskAtStart(QWidget* parent, UiPrompts& prompts, int language,
                  const std::function<bool(const RecoveryCopy&)>& open);

 private:
  std::unique_ptr<RecoveryStore> store_;
  Source source_;
  QTimer* timer_ = nullptr;
  RecoverySchedule schedule_;
  uint64_t seenEdits_ = 0;
  bool seenModified_ = false;
  std::future<void> inFlight_;
};

// "Recover the unsaved house from <time>?" in the language.
QString RecoveryQuestion(int language, int64_t secondsSince1970);

}  // namespace tavi
