// SKModelProperty: construction and reference count; binary record; embedded records; script text;
// copying and duplication.
#include "properties/SKModelProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <memory>

namespace
{
// Property records nest only inside property sets; deeper nesting is a damaged or crafted file.
constexpr int32_t MAX_RECORD_DEPTH = 16;
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Construction and reference count

SKModelProperty::SKModelProperty(int32_t iID) : SKObject(iID) {}

SKModelProperty::~SKModelProperty() = default;

SKModelProperty* SKModelProperty::Cast(SKObject* pkObject)
{
    return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<SKModelProperty*>(pkObject) : nullptr;
}

SKModelProperty* SKModelProperty::Create(const char* pcName)
{
    auto* pkProperty = new SKModelProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

int32_t SKModelProperty::DecRefCount()
{
    if (m_iRefCount <= 0)
        return m_iRefCount;
    if (--m_iRefCount > 0)
        return m_iRefCount;
    delete this;
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Binary record

bool SKModelProperty::SaveToStream(SKStream& kStream) const
{
    if (!SKObject::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iRefCount);
    return m_kName.SaveToStream(kStream);
}

bool SKModelProperty::LoadFromStream(SKStream& kStream)
{
    if (!kStream.CheckRemaining(4))
        return false;
    const int32_t iCount = kStream.ReadLong();
    SKString kName;
    if (!kName.LoadFromStream(kStream))
        return false;
    m_iRefCount = iCount;
    m_kName = kName;
    m_bCountFromStream = true;
    SKObject::AddDeferredFixup(&ClearCountFromStream, static_cast<uint32_t>(GetObjID()), 0);
    return true;
}

bool SKModelProperty::ClearCountFromStream(uintptr_t uiID, uintptr_t)
{
    if (SKModelProperty* pkProperty = Cast(GetSKObjectPtr(static_cast<int32_t>(static_cast<uint32_t>(uiID)))))
        pkProperty->m_bCountFromStream = false;
    return true;
}

SKModelProperty* SKModelProperty::LoadPropertyRecord(SKStream& kStream)
{
    // A record of another kind in a property's place may hold records itself (a property set does):
    // a crafted file must not recurse without end.
    static int32_t s_iDepth = 0;
    if (s_iDepth >= MAX_RECORD_DEPTH)
        return nullptr;
    struct DepthGuard
    {
        DepthGuard() { s_iDepth++; }
        ~DepthGuard() { s_iDepth--; }
    } kDepth;

    // Peek at the record's id: LoadObject reuses a live object of that id, and would overwrite the
    // count of its holders with the saved one.
    if (!kStream.CheckRemaining(8))
        return nullptr;
    const SKReadCheck kCheck(kStream);
    const int32_t iStart = kStream.GetPos();
    kStream.ReadInt();
    const int32_t iID = kStream.ReadID();
    kStream.Seek(iStart, 0);
    if (kCheck.Failed())
        return nullptr;

    SKObject* pkLiveObject = GetSKObjectPtr(iID);
    SKModelProperty* pkLive = Cast(pkLiveObject);
    // Another kind of object holds the id: loading into it would misread it.
    if (pkLiveObject && !pkLive)
        return nullptr;
    const bool bReused = pkLive && !pkLive->m_bCountFromStream;
    const int32_t iHolders = bReused ? pkLive->m_iRefCount : 0;
    // Loading writes into the live property as it reads; a record that then fails would leave it
    // half overwritten, with the saved count in place of its holders'.
    if (bReused && !LoadsIntoScratch(kStream, *pkLive))
        return nullptr;

    SKObject* pkObject = LoadObject(kStream);
    SKModelProperty* pkProperty = Cast(pkObject);
    if (!pkProperty)
    {
        // Made for this record, yet not a property: nobody else knows it.
        delete pkObject;
        return nullptr;
    }
    if (bReused)
    {
        pkProperty->m_iRefCount = iHolders + 1;
        pkProperty->m_bCountFromStream = false;
    }
    return pkProperty;
}

bool SKModelProperty::LoadsIntoScratch(SKStream& kStream, const SKModelProperty& kLive)
{
    // A class without a factory has no scratch object to try the record on: the reuse is refused.
    std::unique_ptr<SKObject> spScratch(CreateObjectByType(kLive.GetObjType(), 0));
    if (!spScratch || spScratch->GetObjType() != kLive.GetObjType())
        return false;
    const SKReadCheck kCheck(kStream);
    const int32_t iStart = kStream.GetPos();
    const int32_t iType = kStream.ReadInt();
    kStream.ReadID();
    if (kCheck.Failed() || iType != kLive.GetObjType())
        return false;
    if (!spScratch->LoadFromStream(kStream) || kCheck.Failed())
        return false;
    kStream.Seek(iStart, 0);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Script text

void SKModelProperty::WriteCreateLine(SKStream& kStream)
{
    SKScriptWriter kWriter(kStream);
    WriteCreateLine(kWriter);
}

std::string SKModelProperty::WriteCreateLine(SKScriptWriter& kWriter)
{
    const std::string kVariable = kWriter.DeclareVariable(m_kName);
    const auto pcName = m_kName.GetCString();
    kWriter.Line(kVariable, " = App.", GetObjTypeName(), "_Create(", SKScriptWriter::Quoted{pcName.get()},
                 ")");
    kWriter.BlankLine();
    WriteInit(kWriter.GetStream(), kVariable.c_str());
    return kVariable;
}

void SKModelProperty::WriteInit(SKStream&, const char*) {}

// ---------------------------------------------------------------------------------------------------------
// Editing, display, copying and duplication

bool SKModelProperty::Edit(HWND)
{
    return false;
}

void SKModelProperty::ShowInView(bool, NiCamera*, NiAVObject*) {}

bool SKModelProperty::CopyFrom(const SKModelProperty* pkOther)
{
    if (!pkOther)
        return false;
    m_kName = pkOther->m_kName;
    return true;
}

SKModelProperty* SKModelProperty::Duplicate() const
{
    SKObject* pkObject = CreateObjectByType(GetObjType(), 0);
    SKModelProperty* pkCopy = Cast(pkObject);
    // CopyFrom reads the other property as its own class.
    if (!pkCopy || pkCopy->GetObjType() != GetObjType())
    {
        delete pkObject;
        return nullptr;
    }
    pkCopy->CopyFrom(this);
    pkCopy->m_iRefCount = 1;
    return pkCopy;
}
