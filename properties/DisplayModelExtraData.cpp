#include "properties/DisplayModelExtraData.h"

#include "scene/object/NiObjectNET.h"

NiImplementRTTI(DisplayModelExtraData, NiExtraData);

void DisplayModelExtraData::Mark(NiObjectNET* pkObject)
{
    if (pkObject)
        pkObject->AddExtraData(new DisplayModelExtraData);
}

bool DisplayModelExtraData::IsMarked(const NiObjectNET* pkObject)
{
    for (const NiExtraData* pkExtra = pkObject ? pkObject->GetExtraData() : nullptr; pkExtra;
         pkExtra = pkExtra->GetNext())
    {
        if (pkExtra->GetClassRecord() == &ms_kClassRecord)
            return true;
    }
    return false;
}
