#pragma once

#include <utility>

// Property setters of the models: a property's own signal, then the model's
// changed() signal, and nothing at all when the value stays the same.

// Emits `signal` of `object`, then its changed().
template <typename Object> void notifyChange(Object &object, void (Object::*signal)())
{
    emit(object.*signal)();
    emit object.changed();
}

// Stores `value` in `field` and notifies; false when `field` already held it.
template <typename Object, typename Field, typename Value>
bool assignAndNotify(Object &object, Field &field, Value &&value, void (Object::*signal)())
{
    if (field == value)
        return false;
    field = std::forward<Value>(value);
    notifyChange(object, signal);
    return true;
}
