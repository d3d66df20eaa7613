#pragma once

// What every plug-in object has at the C boundary: the object the host holds, its reference
// count and the three slots that start every interface, and the guard that keeps exceptions
// from leaving a slot.

#include "corvid/plugin_abi.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace corvid {

// The interface comes first, so that the host's pointer is the object's. Created with one
// reference, which the creator hands on; the last Release destroys it.
template <class Interface, class Implementation>
struct TPluginObject {
    Interface Face;
    std::atomic<uint32_t> References;
    std::unique_ptr<Implementation> Object;

    static TPluginObject& Of(Interface* self) { return *reinterpret_cast<TPluginObject*>(self); }

    // Our objects offer one interface each, asked for with no identifier or the empty one.
    static int32_t QueryInterface(Interface* self, const CorvidInterfaceId* id, void** object) {
        static const CorvidInterfaceId none{};
        if (!object)
            return CORVID_E_NOINTERFACE;
        if (id != nullptr && std::memcmp(id, &none, sizeof none) != 0) {
            *object = nullptr;
            return CORVID_E_NOINTERFACE;
        }
        ++Of(self).References;
        *object = self;
        return CORVID_S_OK;
    }
    static uint32_t AddRef(Interface* self) { return ++Of(self).References; }
    static uint32_t Release(Interface* self) {
        TPluginObject* object = &Of(self);
        const uint32_t left = --object->References;
        if (left == 0)
            delete object;
        return left;
    }
};

// Runs a slot's work; a failure inside it (memory exhausted) gives the slot's neutral result.
template <class Result, class Action>
Result Guarded(Result neutral, Action action) noexcept {
    try {
        return action();
    } catch (...) {
        return neutral;
    }
}

template <class Action>
void Guarded(Action action) noexcept {
    try {
        action();
    } catch (...) {
    }
}

} // namespace corvid
