#pragma once

#include "properties/SKModelPropertyList.h"

#include <string>

class SKStream;

// The instances attached to one named node of a model: an entry of a property set. It owns its
// instances (deleting the list deletes them) and belongs to its set, so a script cannot destroy it.
//
// Binary record: the node name (a counted text), then per instance a bool 1 and the instance's
// record, then a bool 0.
class SKNamedModelPropertyList : public SKModelPropertyList
{
public:
    SKNamedModelPropertyList() = default;
    explicit SKNamedModelPropertyList(const char* pcName) { SetName(pcName); }
    ~SKNamedModelPropertyList() override;

    // Only the set deletes its node lists.
    void SKDestroy() override {}

    // A null name is the empty name.
    void SetName(const char* pcName) { m_kName = pcName ? pcName : ""; }
    const char* GetName() const { return m_kName.c_str(); }

    bool SaveToStream(SKStream& kStream) const;
    bool LoadFromStream(SKStream& kStream);
    bool CheckLinks();
    void ResolveLinks();

private:
    std::string m_kName;
};
