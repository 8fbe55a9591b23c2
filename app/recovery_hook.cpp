#include "app/recovery_hook.h"

#include <QDateTime>
#include <QTimer>
#include <chrono>
#include <cstring>

#include "app/languages.h"
#include "app/ui_prompts.h"
#include "document/house_document.h"
#include "io/house_file.h"
#include "io/house_image.h"

namespace tavi {

namespace {

// Short enough that 20 quick edits are seldom outrun, cheap as it only
// compares a counter.
constexpr int kTickMs = 100;

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

QString RecoveryQuestion(int language, int64_t secondsSince1970) {
  const QString when =
      QDateTime::fromSecsSinceEpoch(secondsSince1970).toString("yyyy-MM-dd HH:mm:ss");
  switch (EffectiveLanguage(language)) {
    case kLangJapanese:
      return QString::fromUtf8("%1 の保存されていないハウスを復元しますか？").arg(when);
    case kLangGerman:
      return QString::fromUtf8("Das ungespeicherte Haus vom %1 wiederherstellen?").arg(when);
    default:
      return QString("Recover the unsaved house from %1?").arg(when);
  }
}

RecoveryHook::RecoveryHook(std::unique_ptr<RecoveryStore> store, Source source, QObject* parent)
    : QObject(parent), clock(SteadyMs), store_(std::move(store)), source_(std::move(source)) {
  timer_ = new QTimer(this);
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
  if (store_->Usable()) timer_->start();
}

RecoveryHook::~RecoveryHook() {
  WaitIdle();
  store_->Remove();
}

void RecoveryHook::WaitIdle() {
  if (inFlight_.valid()) inFlight_.wait();
}

bool RecoveryHook::Tick() {
  const TTAVIDoc* doc = source_.doc ? source_.doc() : nullptr;
  if (!doc || !store_->Usable()) return false;
  const int64_t now = clock();
  if (doc->EditCount() != seenEdits_) {
    schedule_.Edited(now, int(std::min<uint64_t>(doc->EditCount() - seenEdits_, 1u << 20)));
    seenEdits_ = doc->EditCount();
  } else if (doc->Modified && !seenModified_ && !schedule_.Pending()) {
    schedule_.Edited(now);  // a change that took no undo step
  }
  seenModified_ = doc->Modified;
  if (!doc->Modified || !schedule_.Due(now)) return false;
  if (inFlight_.valid() && inFlight_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
    return false;  // the last copy is still being written: the next tick
  // The copy of the house is a memcpy; its text and the disk are the
  // worker's.
  std::shared_ptr<HouseImage> image(NewHouseImage().release());
  image->Width = doc->Width;
  image->Height = doc->Height;
  image->BaseHeight = doc->BaseHeight();
  std::memcpy(image->Tiles, doc->Tiles, sizeof image->Tiles);
  const std::string name = source_.fileName ? source_.fileName().toStdString() : std::string();
  const uint64_t epoch = store_->Epoch();
  RecoveryStore* store = store_.get();
  schedule_.Written();
  inFlight_ = std::async(std::launch::async, [store, image, name, epoch] {
    std::string error;
    if (!store->Write(HouseFileText(*image), name, epoch, &error))
      qWarning("recovery copy: %s", error.c_str());
  });
  return true;
}

void RecoveryHook::Forget() {
  WaitIdle();
  store_->Remove();
  schedule_.Written();
  const TTAVIDoc* doc = source_.doc ? source_.doc() : nullptr;
  seenEdits_ = doc ? doc->EditCount() : 0;
  seenModified_ = doc && doc->Modified;
}

bool RecoveryHook::AskAtStart(QWidget* parent, UiPrompts& prompts, int language,
                              const std::function<bool(const RecoveryCopy&)>& open) {
  bool taken = false;
  for (const RecoveryCopy& copy : store_->Orphans()) {
    if (taken) break;
    switch (prompts.YesNoCancel(parent, RecoveryQuestion(language, copy.time))) {
      case UiPrompts::kYes:
        if (open(copy)) {
          store_->Adopt(copy);
          taken = true;
        }
        break;
      case UiPrompts::kNo:
        store_->Discard(copy);
        break;
      case UiPrompts::kCancel:
        break;
    }
  }
  store_->Release();
  return taken;
}

}  // namespace tavi
