#pragma once

#include <concepts>
#include <cstdint>
#include <utility>

// A counted reference. The pointee keeps its own signed 32-bit count and offers
// IncRef() and DecRef(); DecRef() destroys the object when the count reaches 0,
// so the reference itself never deletes anything.
//
// Built from a plain pointer (implicitly, as the engine hands out fresh objects
// with a count of 0 and the first holder counts them), copied, moved, compared
// with plain pointers and read through operator->.
template <class T> class NiRefPtr
{
public:
    NiRefPtr() noexcept = default;
    NiRefPtr(std::nullptr_t) noexcept {}
    NiRefPtr(T* pObject) noexcept : m_pObject(pObject) { AddRef(); }
    NiRefPtr(const NiRefPtr& kOther) noexcept : m_pObject(kOther.m_pObject) { AddRef(); }
    NiRefPtr(NiRefPtr&& kOther) noexcept : m_pObject(std::exchange(kOther.m_pObject, nullptr)) {}

    template <class U>
    requires std::convertible_to<U*, T*> NiRefPtr(const NiRefPtr<U>& kOther)
    noexcept : m_pObject(kOther.Get()) { AddRef(); }

    ~NiRefPtr() { Release(); }

    // The new object gains its reference before the old one loses its own, so
    // an object reachable only through the old one survives the exchange.
    NiRefPtr& operator=(T* pObject) noexcept
    {
        if (pObject == m_pObject)
            return *this;
        T* pOld = std::exchange(m_pObject, pObject);
        AddRef();
        if (pOld)
            pOld->DecRef();
        return *this;
    }

    NiRefPtr& operator=(const NiRefPtr& kOther) noexcept { return *this = kOther.m_pObject; }

    NiRefPtr& operator=(NiRefPtr&& kOther) noexcept
    {
        if (this == &kOther)
            return *this;
        T* pOld = std::exchange(m_pObject, std::exchange(kOther.m_pObject, nullptr));
        if (pOld)
            pOld->DecRef();
        return *this;
    }

    NiRefPtr& operator=(std::nullptr_t) noexcept
    {
        Release();
        return *this;
    }

    // Lets go of the object; the reference is null before the count drops, so
    // a destructor that looks back at this reference sees it empty.
    void Release() noexcept
    {
        if (T* pOld = std::exchange(m_pObject, nullptr))
            pOld->DecRef();
    }

    T* Get() const noexcept { return m_pObject; }
    operator T*() const noexcept { return m_pObject; }
    T* operator->() const noexcept { return m_pObject; }
    T& operator*() const noexcept { return *m_pObject; }

private:
    void AddRef() noexcept
    {
        if (m_pObject)
            m_pObject->IncRef();
    }

    T* m_pObject = nullptr;
};
