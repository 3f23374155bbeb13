#include "platform/mfc/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pkBase) const
{
    for (const CRuntimeClass* pkClass = this; pkClass != nullptr; pkClass = pkClass->m_pBaseClass)
        if (pkClass == pkBase)
            return true;
    return false;
}

CObject::~CObject() = default;

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

bool CObject::IsKindOf(const CRuntimeClass* pkClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pkClass);
}

void CObject::Serialize(CArchive&) {}
