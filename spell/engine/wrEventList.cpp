#include "wrEventList.h"

#include <algorithm>

TEventList::TEventList() = default;

TEventList::~TEventList()
{
  while (!FListeners.empty())
    Remove(FListeners.front());
}

void TEventList::Add(const void *Listener, const TNotifyEvent &EventHandler)
{
  if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end())
    return;
  FListeners.push_back(Listener);
  FEvents.push_back(std::make_unique<TNotifyEvent>(EventHandler));
}

void TEventList::Remove(const void *Listener)
{
  const auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it == FListeners.end())
    return;
  const auto index = it - FListeners.begin();
  FListeners.erase(it);
  FEvents.erase(FEvents.begin() + index);
}

void TEventList::Notify(QObject *Sender)
{
  const size_t count = FEvents.size();
  for (size_t i = 0; i < count && i < FEvents.size(); ++i) {
    // A copy, so a handler that detaches its own listener does not destroy itself mid-call.
    const TNotifyEvent handler = *FEvents[i];
    if (handler)
      handler(Sender);
  }
}
