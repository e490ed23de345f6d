// COM for the calling thread, apartment-threaded as the shell's folder dialog and
// the OLE picture loader expect. Uninitialised by the owner that initialised it.
#pragma once

#include "support/Win.h"

#include <objbase.h>

class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        // NOTE: S_FALSE (already initialised on this thread) counts too and must be balanced.
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // False when the thread already runs COM in another model (RPC_E_CHANGED_MODE).
    bool initialised() const { return initialised_; }

private:
    bool initialised_;
};
