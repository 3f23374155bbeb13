#pragma once

class CObject;
class CArchive;

// The class record behind RUNTIME_CLASS: a name, the base's record and, for classes the
// framework creates by record (documents, frames, views), a factory.
struct CRuntimeClass
{
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* pkBase) const;
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNAMIC(theClass)                                                                            \
public:                                                                                                      \
    static const CRuntimeClass class##theClass;                                                              \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(theClass)                                                                          \
    DECLARE_DYNAMIC(theClass)                                                                                \
    static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(theClass, baseClass)                                                               \
    const CRuntimeClass theClass::class##theClass = {#theClass, nullptr, RUNTIME_CLASS(baseClass)};          \
    const CRuntimeClass* theClass::GetRuntimeClass() const                                                   \
    {                                                                                                        \
        return &theClass::class##theClass;                                                                   \
    }

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                             \
    CObject* theClass::CreateObject()                                                                        \
    {                                                                                                        \
        return new theClass;                                                                                 \
    }                                                                                                        \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject,                     \
                                                     RUNTIME_CLASS(baseClass)};                              \
    const CRuntimeClass* theClass::GetRuntimeClass() const                                                   \
    {                                                                                                        \
        return &theClass::class##theClass;                                                                   \
    }

// Root of the framework's classes: run-time class tests and serialisation.
class CObject
{
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    virtual ~CObject();
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* pkClass) const;
    virtual void Serialize(CArchive& kArchive);
};
