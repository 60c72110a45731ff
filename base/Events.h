#pragma once
// Events are bound callables; an empty one is "unassigned".
#include <functional>

namespace kes {

class TObject;

using TNotifyEvent = std::function<void(TObject* sender)>;

template <typename... Args>
using TEvent = std::function<void(Args...)>;

// Calls an event when it is assigned.
template <typename F, typename... Args>
void Fire(const F& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

}  // namespace kes
