#pragma once
// The base of everything that can send an event, and the event type itself.

#include <functional>

class TObject {
public:
    virtual ~TObject() = default;
};

// An event handler: takes the object that sent the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Binds a handler that is a member function of a form, as the form designer would.
template <class T>
TNotifyEvent BindEvent(T* object, void (T::*handler)(TObject*)) {
    return [object, handler](TObject* sender) { (object->*handler)(sender); };
}
