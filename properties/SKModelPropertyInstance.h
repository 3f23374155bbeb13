#pragma once

#include <cstdint>
#include <memory>

class SKModelProperty;
class SKStream;

// One property attached to one named node of a model: the template it was made from, the node's
// (hardpoint's) name, and the instance property, a duplicate of the template or, after
// UseOriginalTemplate, the template itself. The instance holds one reference on each of the two.
//
// Binary record: the template (bool 1 and its object id when the property manager holds it, else
// bool 0 and its full record), the instance property (bool 1 when it is the template, else bool 0
// and its full record), then the hardpoint name. A template saved by id is found again by the
// load's fix-up pass (CheckLinks, ResolveLinks).
class SKModelPropertyInstance
{
public:
    // For loading: no template, no name, no property.
    SKModelPropertyInstance() = default;
    // Holds the template and a duplicate of it (null for a class without factory). A null
    // template makes an empty instance.
    SKModelPropertyInstance(SKModelProperty* pkTemplate, const char* pcHardpointName);
    virtual ~SKModelPropertyInstance();
    SKModelPropertyInstance(const SKModelPropertyInstance&) = delete;
    SKModelPropertyInstance& operator=(const SKModelPropertyInstance&) = delete;

    virtual bool SaveToStream(SKStream& kStream) const;
    virtual bool LoadFromStream(SKStream& kStream);
    // True when a template saved by id names a live property (or the id is 0).
    virtual bool CheckLinks();
    virtual void ResolveLinks();

    // From now on the instance property is the template itself, so editing it edits the template.
    void UseOriginalTemplate();
    // Hold another property (null for none) in place of the current one.
    void SetProperty(SKModelProperty* pkProperty);
    void SetOriginalTemplate(SKModelProperty* pkTemplate);

    // Null when the instance has no name.
    const char* GetHardpointName() const { return m_pcHardpointName.get(); }
    SKModelProperty* GetProperty() const { return m_pkProperty; }
    SKModelProperty* GetOriginalTemplate() const { return m_pkTemplate; }

private:
    static void Hold(SKModelProperty*& pkField, SKModelProperty* pkProperty);

    SKModelProperty* m_pkTemplate = nullptr;
    std::unique_ptr<char[]> m_pcHardpointName;
    SKModelProperty* m_pkProperty = nullptr;

    // Between the load and its fix-up: the template's saved id, and whether the property is the
    // template too.
    int32_t m_iTemplateID = 0;
    bool m_bTemplateByID = false;
    bool m_bPropertyByID = false;
};
