#include "scene/object/NiObject.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include "scene/object/NiStringHashMap.h"

#include <cstring>

constinit const ClassRecord NiObject::ms_kClassRecord("NiObject", nullptr);
NiImplementAbstractLoader(NiObject);

int32_t NiObject::ms_iLiveObjects = 0;
int32_t NiObject::ms_iCloneNameMode = NiObject::CLONE_NAME_NONE;
char NiObject::ms_cCloneSuffix = '$';

//--- Reference counting and class tests ---------------------------------------------------------

NiObject::NiObject()
{
    ++ms_iLiveObjects;
}

NiObject::~NiObject()
{
    --ms_iLiveObjects;
}

int32_t NiObject::DecRef()
{
    const int32_t iCount = --m_iRefCount;
    if (iCount == 0)
        delete this;
    return iCount;
}

bool NiObject::IsOfClass(const ClassRecord* pkRecord) const
{
    return GetClassRecord()->IsDerivedFrom(pkRecord);
}

//--- The twelve operations ----------------------------------------------------------------------

const ClassRecord* NiObject::GetClassRecord() const
{
    return &ms_kClassRecord;
}

NiObject* NiObject::MakeClone()
{
    return this;
}

void NiObject::FixCloneLinks(NiObject*) {}

void NiObject::RemoveCloneData() {}

void NiObject::LoadBinary(NiStream& kStream)
{
    uint32_t uiLinkID = 0;
    kStream.Load(uiLinkID);
    kStream.RegisterLoadedObject(uiLinkID, this);
}

void NiObject::ResolveLinks(NiStream&) {}

bool NiObject::RegisterForSave(NiStream& kStream)
{
    return kStream.RegisterSaveObject(this);
}

void NiObject::SaveBinary(NiStream& kStream)
{
    kStream.SaveCString(GetClassRecord()->GetName());
    kStream.SaveLinkID(this);
}

bool NiObject::IsEquivalent(const NiObject* pkObject) const
{
    return pkObject && std::strcmp(GetClassRecord()->GetName(), pkObject->GetClassRecord()->GetName()) == 0;
}

void NiObject::AddFieldStrings(NiFieldStringList& kList) const
{
    kList.push_back(NiFieldStringHeader("NiObject"));
    kList.push_back(NiFieldString("this", static_cast<const void*>(this)));
    kList.push_back(NiFieldString("m_iRefCount", m_iRefCount));
}

void NiObject::PostLink() {}

//--- Copies -------------------------------------------------------------------------------------

NiObject* NiObject::Clone()
{
    NiObject* pkClone = MakeClone();
    if (pkClone)
        FixCloneLinks(pkClone);
    RemoveCloneData();
    return pkClone;
}

NiRefPtr<NiObject> NiObject::CopyThroughStream()
{
    NiStream kStream;
    kStream.AddTopObject(this);
    std::vector<char> kBuffer;
    if (!kStream.SaveBuffer(kBuffer) || !kStream.LoadBuffer(kBuffer.data(), kBuffer.size()))
        return NiRefPtr<NiObject>();
    return NiRefPtr<NiObject>(kStream.GetTopObjectCount() > 0 ? kStream.GetTopObjectAt(0) : nullptr);
}

//--- Class registry -----------------------------------------------------------------------------

namespace
{
// Made on first use: registrations run during static initialisation, in no defined order.
NiStringHashMap<NiCreateFunction>& ClassLoaders()
{
    static NiStringHashMap<NiCreateFunction> s_kLoaders;
    return s_kLoaders;
}
} // namespace

bool NiObject::EnterClassLoader(const char* pcName, NiCreateFunction pfnLoader, bool& bRegistered)
{
    if (bRegistered)
        return false;
    bRegistered = true;
    ClassLoaders().SetAt(pcName, pfnLoader);
    return true;
}

NiCreateFunction NiObject::FindClassLoader(const char* pcName)
{
    const NiCreateFunction* ppfnLoader = ClassLoaders().Find(pcName);
    return ppfnLoader ? *ppfnLoader : nullptr;
}

uint32_t NiObject::GetClassLoaderCount()
{
    return ClassLoaders().GetCount();
}

std::vector<std::string> NiObject::GetClassLoaderNames()
{
    std::vector<std::string> kNames;
    for (const auto& kEntry : ClassLoaders())
        kNames.emplace_back(kEntry.m_key);
    return kNames;
}
