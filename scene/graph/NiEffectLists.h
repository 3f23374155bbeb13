#pragma once

#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <vector>

class NiDynamicEffect;
class NiTextureEffect;

// The dynamic effects that shine on one piece of geometry: lights, projected lights, projected
// shadows (each list in ascending order of the effects' indices, no index twice), and at most
// one environment map and one fog map. Lists objects are counted and shared: the effect update
// shares one object among geometry whose effects are equal, and copies (Clone) only where a
// node adds effects.
//
// The lists hold counted references to their effects: an effect removed from the scene stays
// alive until the next effect update rebuilds the lists that name it, so a draw in between
// never reads a destroyed light.
//
// The lists are written over the effect classes so that they do not depend on their headers:
// TEffect offers GetEffectKind() (0 ambient, 1 directional, 2 point, 3 spot light, 4 texture
// effect) and GetIndex() (the effect's running number); TTextureEffect derives from it and
// offers GetTextureMode() (PROJECTED_LIGHT 0, PROJECTED_SHADOW 1, ENVIRONMENT_MAP 2, FOG_MAP 3).
// Code that calls the operations includes the effect headers. TLists is the concrete lists
// class, which Clone makes.
template <class TLists, class TEffect, class TTextureEffect> class NiEffectListsOf
{
public:
    using LightList = std::vector<NiRefPtr<TEffect>>;
    using TextureEffectList = std::vector<NiRefPtr<TTextureEffect>>;

    // The effect kind from which an effect is a texture effect, and the texture modes.
    static constexpr int32_t TEXTURE_EFFECT_KIND = 4;
    static constexpr uint32_t PROJECTED_LIGHT = 0;
    static constexpr uint32_t PROJECTED_SHADOW = 1;
    static constexpr uint32_t ENVIRONMENT_MAP = 2;
    static constexpr uint32_t FOG_MAP = 3;

    NiEffectListsOf() = default;
    NiEffectListsOf(const NiEffectListsOf&) = delete;
    NiEffectListsOf& operator=(const NiEffectListsOf&) = delete;
    virtual ~NiEffectListsOf() = default;

    // Counted references (NiRefPtr): a lists object starts at 0 and is deleted when its last
    // holder lets go.
    void IncRef() { ++m_iRefCount; }
    int32_t DecRef()
    {
        const int32_t iCount = --m_iRefCount;
        if (iCount == 0)
            delete this;
        return iCount;
    }
    int32_t GetRefCount() const { return m_iRefCount; }

    // A new object (count 0) with the same effects in the same order.
    TLists* Clone() const
    {
        TLists* pkClone = new TLists;
        pkClone->m_kLights = m_kLights;
        pkClone->m_kProjectedLights = m_kProjectedLights;
        pkClone->m_kProjectedShadows = m_kProjectedShadows;
        pkClone->m_spEnvironmentMap = m_spEnvironmentMap;
        pkClone->m_spFogMap = m_spFogMap;
        return pkClone;
    }

    // Lights go to the light list, texture effects by their mode; a second environment or fog
    // map replaces the first. Null effects and unknown modes change nothing.
    void AddEffect(TEffect* pkEffect)
    {
        if (!pkEffect)
            return;
        if (pkEffect->GetEffectKind() < TEXTURE_EFFECT_KIND)
        {
            Insert(m_kLights, pkEffect);
            return;
        }
        TTextureEffect* pkTexture = static_cast<TTextureEffect*>(pkEffect);
        switch (pkTexture->GetTextureMode())
        {
        case PROJECTED_LIGHT:
            Insert(m_kProjectedLights, pkTexture);
            break;
        case PROJECTED_SHADOW:
            Insert(m_kProjectedShadows, pkTexture);
            break;
        case ENVIRONMENT_MAP:
            m_spEnvironmentMap = pkTexture;
            break;
        case FOG_MAP:
            m_spFogMap = pkTexture;
            break;
        default:
            break;
        }
    }

    // The reverse of AddEffect; list entries are matched by index, and the environment and
    // fog maps are cleared only when they hold this very effect.
    void RemoveEffect(TEffect* pkEffect)
    {
        if (!pkEffect)
            return;
        if (pkEffect->GetEffectKind() < TEXTURE_EFFECT_KIND)
        {
            Erase(m_kLights, pkEffect->GetIndex());
            return;
        }
        TTextureEffect* pkTexture = static_cast<TTextureEffect*>(pkEffect);
        switch (pkTexture->GetTextureMode())
        {
        case PROJECTED_LIGHT:
            Erase(m_kProjectedLights, pkTexture->GetIndex());
            break;
        case PROJECTED_SHADOW:
            Erase(m_kProjectedShadows, pkTexture->GetIndex());
            break;
        case ENVIRONMENT_MAP:
            if (m_spEnvironmentMap == pkTexture)
                m_spEnvironmentMap = nullptr;
            break;
        case FOG_MAP:
            if (m_spFogMap == pkTexture)
                m_spFogMap = nullptr;
            break;
        default:
            break;
        }
    }

    // True when the other lists hold the same effects in the same order and the same two
    // maps; false without other lists.
    bool operator==(const TLists* pkOther) const
    {
        return pkOther && m_spEnvironmentMap == pkOther->m_spEnvironmentMap &&
               m_spFogMap == pkOther->m_spFogMap && m_kLights == pkOther->m_kLights &&
               m_kProjectedLights == pkOther->m_kProjectedLights &&
               m_kProjectedShadows == pkOther->m_kProjectedShadows;
    }

    const LightList& GetLights() const { return m_kLights; }
    const TextureEffectList& GetProjectedLights() const { return m_kProjectedLights; }
    const TextureEffectList& GetProjectedShadows() const { return m_kProjectedShadows; }
    TTextureEffect* GetEnvironmentMap() const { return m_spEnvironmentMap; }
    TTextureEffect* GetFogMap() const { return m_spFogMap; }

    // The shared effect-lists holder: during one effect update it holds the lists that a
    // geometry stored last, so that geometry with equal effects shares one object. The update
    // empties it when it starts and when it ends.
    static NiRefPtr<TLists>& GetShared()
    {
        static NiRefPtr<TLists> s_spShared;
        return s_spShared;
    }

    // What an object reached by the lists holds: the shared lists when they are equal, else the
    // given lists, which become the shared ones; none for none.
    static NiRefPtr<TLists> Share(TLists* pkLists)
    {
        if (!pkLists)
            return NiRefPtr<TLists>();
        NiRefPtr<TLists>& spShared = GetShared();
        if (!spShared || !(*spShared == pkLists))
            spShared = pkLists;
        return spShared;
    }

private:
    // Sorted insert: nothing when an effect of the same index is there already.
    template <class T> static void Insert(std::vector<NiRefPtr<T>>& kList, T* pkEffect)
    {
        const int32_t iIndex = pkEffect->GetIndex();
        auto kAt = kList.begin();
        while (kAt != kList.end() && (*kAt)->GetIndex() < iIndex)
            ++kAt;
        if (kAt != kList.end() && (*kAt)->GetIndex() == iIndex)
            return;
        kList.insert(kAt, NiRefPtr<T>(pkEffect));
    }

    // Sorted removal of the entry with the index; the walk stops at the first greater index.
    template <class T> static void Erase(std::vector<NiRefPtr<T>>& kList, int32_t iIndex)
    {
        for (auto kAt = kList.begin(); kAt != kList.end() && (*kAt)->GetIndex() <= iIndex; ++kAt)
        {
            if ((*kAt)->GetIndex() == iIndex)
            {
                // Out of the list before the reference goes, in case it was the last one.
                NiRefPtr<T> spRemoved = std::move(*kAt);
                kList.erase(kAt);
                return;
            }
        }
    }

    int32_t m_iRefCount = 0;
    LightList m_kLights;
    TextureEffectList m_kProjectedLights;
    TextureEffectList m_kProjectedShadows;
    NiRefPtr<TTextureEffect> m_spEnvironmentMap;
    NiRefPtr<TTextureEffect> m_spFogMap;
};

// The effect lists of the scene graph.
class NiEffectLists final : public NiEffectListsOf<NiEffectLists, NiDynamicEffect, NiTextureEffect>
{
};
