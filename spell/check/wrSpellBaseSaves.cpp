// The check session's prompt saves: changed custom dictionaries and the changed configuration
// are written a moment after the change instead of only at unload (see wrSpellBase.h).
#include "wrCustomDictionary.h"
#include "wrSpellBase.h"

#include <QAbstractEventDispatcher>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

class TWrightSpellBase::TPendingSaves {
public:
  explicit TPendingSaves(TWrightSpellBase &Session) : FSession(Session) {}

  void Add(TCustomDictionary *Dictionary)
  {
    if (!Dictionary)
      FConfiguration = true;
    else if (std::find(FDictionaries.begin(), FDictionaries.end(), Dictionary) ==
             FDictionaries.end())
      FDictionaries.push_back(Dictionary);
    // A QTimer needs this thread's event loop; without one nothing would ever fire.
    if (!QThread::currentThread()->eventDispatcher()) {
      Flush();
      return;
    }
    if (!FTimer) {
      FTimer = std::make_unique<QTimer>();
      FTimer->setSingleShot(true);
      FTimer->setInterval(SaveDelayMs);
      QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Flush(); });
    }
    // Not restarted by later changes: a steady stream of edits is still saved every interval.
    if (!FTimer->isActive())
      FTimer->start();
  }

  void Forget(TCustomDictionary *Dictionary)
  {
    FDictionaries.erase(std::remove(FDictionaries.begin(), FDictionaries.end(), Dictionary),
                        FDictionaries.end());
  }

  void Clear()
  {
    FDictionaries.clear();
    FConfiguration = false;
    if (FTimer)
      FTimer->stop();
  }

  void Flush()
  {
    if (FTimer)
      FTimer->stop();
    // Taken first: a save may run host code (the configuration's saved event) that changes
    // something again, which then schedules a save of its own.
    std::vector<TCustomDictionary *> dictionaries;
    dictionaries.swap(FDictionaries);
    const bool configuration = std::exchange(FConfiguration, false);
    for (TCustomDictionary *d : dictionaries)
      if (d->Loaded() && d->Modified())
        d->Save();
    if (configuration && FSession.FConfiguration)
      FSession.FConfiguration->SaveConfiguration();
  }

private:
  TWrightSpellBase &FSession;
  std::vector<TCustomDictionary *> FDictionaries;
  bool FConfiguration = false;
  std::unique_ptr<QTimer> FTimer;
};

void TWrightSpellBase::SetPromptSaves(TPromptSaves Value)
{
  FPromptSaves = Value;
  // What was scheduled is still saved at unload.
  if (Value == psAtUnload && FPendingSaves)
    FPendingSaves->Clear();
}

void TWrightSpellBase::ScheduleSave(TCustomDictionary *Dictionary)
{
  if (FPromptSaves != psPromptly)
    return;
  if (!FPendingSaves)
    FPendingSaves = std::make_shared<TPendingSaves>(*this);
  FPendingSaves->Add(Dictionary);
}

void TWrightSpellBase::ConfigurationEdited() { ScheduleSave(nullptr); }

void TWrightSpellBase::WatchDictionary(TCustomDictionary &Dictionary)
{
  if (!FPendingSaves)
    FPendingSaves = std::make_shared<TPendingSaves>(*this);
  const std::weak_ptr<TPendingSaves> pending = FPendingSaves;
  // A host's own object may carry handlers already; they still run.
  auto changed = std::move(Dictionary.OnChanged);
  Dictionary.OnChanged = [this, pending, changed](TCustomDictionary *Sender) {
    if (changed)
      changed(Sender);
    if (!pending.expired())
      ScheduleSave(Sender);
  };
  auto destroying = std::move(Dictionary.OnDestroying);
  Dictionary.OnDestroying = [pending, destroying](TCustomDictionary *Sender) {
    if (const auto p = pending.lock())
      p->Forget(Sender);
    if (destroying)
      destroying(Sender);
  };
}

void TWrightSpellBase::SaveChanges()
{
  if (FPendingSaves)
    FPendingSaves->Flush();
  for (TCustomDictionary *d : {FActiveCustom.get(), FMappingCustom.get(), FLearningCustom.get()})
    if (d && d->Loaded() && d->Modified())
      d->Save();
  for (auto &d : FCustomDictionaries)
    if (d->Loaded() && d->Modified())
      d->Save();
  if (FConfiguration)
    FConfiguration->SaveConfiguration();
}
