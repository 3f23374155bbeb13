#pragma once

#include "platform/d3d7/IUnknown.h"

namespace d3d7
{
// Counting for the layer's objects: made with one reference, deleted by the last Release.
template <class Interface> class ComObject : public Interface
{
public:
    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObject) override
    {
        if (ppvObject == nullptr)
            return E_INVALIDARG;
        if (riid == IID_IUnknown || riid == m_kIid)
        {
            AddRef();
            *ppvObject = static_cast<Interface*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_uiRefs; }
    ULONG Release() override
    {
        const ULONG uiLeft = --m_uiRefs;
        if (uiLeft == 0)
            delete this;
        return uiLeft;
    }

protected:
    explicit ComObject(REFIID riid) : m_kIid(riid) {}
    ~ComObject() override = default;

private:
    IID m_kIid;
    ULONG m_uiRefs = 1;
};

// Holds one reference; for members that keep another object alive.
template <class T> class ComRef
{
public:
    ComRef() = default;
    explicit ComRef(T* pkObject) : m_pkObject(pkObject)
    {
        if (m_pkObject != nullptr)
            m_pkObject->AddRef();
    }
    ComRef(const ComRef& kOther) : ComRef(kOther.m_pkObject) {}
    ComRef& operator=(const ComRef& kOther)
    {
        Reset(kOther.m_pkObject);
        return *this;
    }
    ~ComRef() { Reset(nullptr); }

    void Reset(T* pkObject)
    {
        if (pkObject != nullptr)
            pkObject->AddRef();
        T* pkOld = m_pkObject;
        m_pkObject = pkObject;
        if (pkOld != nullptr)
            pkOld->Release();
    }
    T* Get() const { return m_pkObject; }
    T* operator->() const { return m_pkObject; }
    explicit operator bool() const { return m_pkObject != nullptr; }

private:
    T* m_pkObject = nullptr;
};
} // namespace d3d7
