#pragma once
// Lists of notify handlers, one per listener: the components' change notifications.

#include "rtTypes.h"

#include <memory>
#include <vector>

class QObject;

class TEventList {
public:
  TEventList();
  virtual ~TEventList();
  TEventList(const TEventList &) = delete;
  TEventList &operator=(const TEventList &) = delete;

  // Registers Listener once; a second Add for the same listener changes nothing.
  void Add(const void *Listener, const TNotifyEvent &EventHandler);
  void Remove(const void *Listener);
  // Calls the handlers registered when the call starts, in order, with Sender.
  void Notify(QObject *Sender);
  const TNotifyEvent &Items(int Index) const { return *FEvents.at(size_t(Index)); }
  int Count() const { return int(FListeners.size()); }

protected:
  std::vector<const void *> FListeners;
  std::vector<std::unique_ptr<TNotifyEvent>> FEvents;
};
