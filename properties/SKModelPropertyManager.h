#pragma once

#include "properties/SKModelPropertyFilter.h"
#include "scene/object/NiPooledList.h"

#include <cstdint>
#include <memory>

class SKModelProperty;
class SKStream;

// The one holder of property templates (global ones from the shared templates script, local ones
// from a model's property script) and of property filters; its instance is g_kModelPropertyManager.
//
// Templates: each list holds one reference per template, in registration order; a lookup gives the
// first match. Names are matched ignoring case. Registering a template replaces (and releases) a
// template of the same name whose class is the new one's or derives from it, and appends the new
// one; the list takes over the caller's reference.
//
// Filters: registered filters are the titled categories the editor offers; current filters are
// the predicates in force, which ApplyFilters tests in order.
//
// Binary record: per local template a bool 1 and its full record, a bool 0, then the same for the
// global templates. Save the manager before the property sets whose instances name its templates.
class SKModelPropertyManager
{
public:
    using FilterFunc = SKModelPropertyFilter::FilterFunc;
    using Templates = NiPooledList<SKModelProperty*>;
    using Filters = NiPooledList<SKModelPropertyFilter>;

    // Which list: 0 the global templates, any other value the local ones.
    static constexpr int32_t GLOBAL_TEMPLATES = 0;
    static constexpr int32_t LOCAL_TEMPLATES = 1;

    SKModelPropertyManager() = default;
    // Frees the lists without touching the templates (ClearGlobalTemplates and ClearLocalTemplates
    // release them, at shut-down).
    virtual ~SKModelPropertyManager() = default;
    SKModelPropertyManager(const SKModelPropertyManager&) = delete;
    SKModelPropertyManager& operator=(const SKModelPropertyManager&) = delete;

    virtual bool SaveToStream(SKStream& kStream) const;
    // Appends the loaded templates (no replacement by name); false at the first record that is no
    // property's or does not load.
    virtual bool LoadFromStream(SKStream& kStream);

    // --- Templates. ---
    // False for null. A property already in the list stays where it is.
    bool RegisterGlobalTemplate(SKModelProperty* pkProperty)
    {
        return Register(m_kGlobal, m_kLocal, pkProperty);
    }
    bool RegisterLocalTemplate(SKModelProperty* pkProperty)
    {
        return Register(m_kLocal, m_kGlobal, pkProperty);
    }
    // The first template of the list of this name whose class is the type or derives from it.
    SKModelProperty* FindByNameAndType(const char* pcName, int32_t iType,
                                       int32_t iWhich = GLOBAL_TEMPLATES) const;
    SKModelProperty* FindByName(const char* pcName, int32_t iWhich = GLOBAL_TEMPLATES) const;
    bool IsGlobalTemplate(const SKModelProperty* pkProperty) const;
    bool IsLocalTemplate(const SKModelProperty* pkProperty) const;
    // Unlinks the template from the list. Without the delete flag the list's reference passes to
    // the caller (to register it elsewhere); with it the reference is released, so the template
    // lives on only while someone else still holds it. False when it is not in the list.
    bool RemoveTemplate(int32_t iWhich, SKModelProperty* pkProperty, int32_t iDelete);
    void ClearGlobalTemplates() { Clear(m_kGlobal); }
    void ClearLocalTemplates() { Clear(m_kLocal); }
    const Templates& GetGlobalTemplates() const { return m_kGlobal; }
    const Templates& GetLocalTemplates() const { return m_kLocal; }

    // --- Filters. ---
    void RegisterFilter(FilterFunc pfnFilter, const char* pcTitle);
    const Filters& GetRegisteredFilters() const { return m_kRegisteredFilters; }
    void ClearRegisteredFilters() { m_kRegisteredFilters.RemoveAll(); }
    // Null is ignored; the same predicate may be current twice.
    void AddFilter(FilterFunc pfnFilter);
    // Unlinks the first occurrence; false only for null.
    bool RemoveFilter(FilterFunc pfnFilter);
    void ClearCurrentFilters() { m_kCurrentFilters.RemoveAll(); }
    // True when every current filter accepts the property (and when there are none).
    bool ApplyFilters(SKModelProperty* pkProperty) const;
    // The templates of the list that pass ApplyFilters, in order; the list holds no references.
    std::unique_ptr<Templates> GetFilteredTemplates(int32_t iWhich) const;

private:
    const Templates& List(int32_t iWhich) const { return iWhich == GLOBAL_TEMPLATES ? m_kGlobal : m_kLocal; }
    Templates& List(int32_t iWhich) { return iWhich == GLOBAL_TEMPLATES ? m_kGlobal : m_kLocal; }
    static SKModelProperty* Find(const Templates& kList, const char* pcName, bool bAnyType, int32_t iType);
    static bool Register(Templates& kList, const Templates& kOtherList, SKModelProperty* pkProperty);
    static void Clear(Templates& kList);
    static bool SaveList(const Templates& kList, SKStream& kStream);
    static bool LoadList(Templates& kList, SKStream& kStream);

    Filters m_kRegisteredFilters{2};
    NiPooledList<FilterFunc> m_kCurrentFilters{2};
    Templates m_kGlobal{2};
    Templates m_kLocal{2};
};

extern SKModelPropertyManager g_kModelPropertyManager;
