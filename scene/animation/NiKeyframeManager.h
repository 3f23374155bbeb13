#pragma once

#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiStringHashMap.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class NiAVObject;

// What a manager keeps between LoadBinary and ResolveLinks: its embedded sequences as ids.
class NiKeyframeManagerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    struct EmbeddedSequence
    {
        std::string m_kName;
        uint32_t m_uiReferenceIndex = 0;
        uint32_t m_uiTextKeysID = 0;
        std::vector<std::pair<std::string, uint32_t>> m_kControllers;
    };
    std::vector<EmbeddedSequence> m_kSequences;
};

// Keeps named animation sequences for one scene object and plays them: one at a time, as a
// blend from one sequence's pose into another's, or as a morph in which two sequences run in
// step through their matching "morph:" text keys. A sequence is bound to the objects of its
// names under the manager's target only while it plays; the manager drives its controllers
// itself (they stay stopped, so the ordinary controller update leaves them alone).
class NiKeyframeManager : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiKeyframeManagerLinkRecord;

    // A list of keyframe controllers, each paired with the name of the object it animates, and
    // the sequence's text keys.
    class Sequence
    {
    public:
        enum State : int32_t
        {
            INACTIVE = 0,
            ANIMATING = 1,
            BLEND_SOURCE = 2,
            BLEND_DESTINATION = 3,
            MORPH_SOURCE = 4,
            MORPH_DESTINATION = 5
        };

        explicit Sequence(const char* pcName, uint32_t uiInitialSize = 12, uint32_t uiGrowBy = 12);
        ~Sequence();
        Sequence(const Sequence&) = delete;
        Sequence& operator=(const Sequence&) = delete;

        uint32_t AddController(const char* pcTargetName, NiKeyframeController* pkController);
        bool Bind();
        bool Unbind();

        const char* GetName() const { return m_kName.c_str(); }
        void SetFileName(const char* pcFileName);
        const char* GetFileName() const { return m_kFileName ? m_kFileName->c_str() : nullptr; }
        int32_t GetObjectIndex() const { return m_iObjectIndex; }
        uint32_t GetControllerCount() const { return static_cast<uint32_t>(m_kControllers.size()); }
        NiKeyframeController* GetController(uint32_t i) const { return m_kControllers[i]; }
        const char* GetTargetName(uint32_t i) const { return m_kTargetNames[i].c_str(); }
        NiKeyframeController* GetReferenceController() const;
        void SetReferenceIndex(uint32_t uiIndex) { m_uiReferenceIndex = uiIndex; }
        uint32_t GetReferenceIndex() const { return m_uiReferenceIndex; }
        void SetTextKeys(NiTextKeyExtraData* pkKeys) { m_spTextKeys = pkKeys; }
        NiTextKeyExtraData* GetTextKeys() const { return m_spTextKeys; }
        NiKeyframeManager* GetOwner() const { return m_pkOwner; }
        State GetState() const { return m_eState; }
        Sequence* GetPartner() const { return m_pkPartner; }
        float GetTimeOffset() const { return m_fTimeOffset; }
        void SetTimeOffset(float fOffset) { m_fTimeOffset = fOffset; }
        float GetTransitionTime() const { return m_fTransitionTime; }

        // Reads the sequence from the object at the index of a sequence file; null when the file
        // cannot be read or that object is not a sequence.
        static Sequence* LoadFromFile(const char* pcFileName, const char* pcName, int32_t iObjectIndex);
        static Sequence* Copy(const Sequence& kSource);
        // The union of two sequences in the depth-first order of the first one's owner's
        // objects, added to that owner; null without an owner.
        static Sequence* Merge(Sequence* pkFirst, Sequence* pkSecond, const char* pcName);
        // The application time at which the named text key is next reached.
        float GetNextTextKeyTime(const char* pcName, float fTime) const;

    private:
        friend class NiKeyframeManager;

        void UpdateControllers(float fTime);
        // Moves this sequence's objects from the pose the partner left towards this one's pose at
        // the time by the fraction.
        void BlendControllers(float fTime, float fFraction);
        bool BindFrom(NiAVObject* pkObject, uint32_t& uiCursor);
        bool UnbindFrom(NiAVObject* pkObject, int64_t& iCursor);
        void UnbindOne(uint32_t i);
        void BindOne(uint32_t i, NiAVObject* pkObject);

        std::string m_kName;
        std::optional<std::string> m_kFileName;
        int32_t m_iObjectIndex = 0;
        std::vector<std::string> m_kTargetNames;
        std::vector<NiRefPtr<NiKeyframeController>> m_kControllers;
        NiRefPtr<NiTextKeyExtraData> m_spTextKeys;
        uint32_t m_uiReferenceIndex = 0;
        NiKeyframeManager* m_pkOwner = nullptr;
        State m_eState = INACTIVE;
        float m_fTransitionTime = 0.0f;
        Sequence* m_pkPartner = nullptr;
        float m_fTimeOffset = 0.0f;
    };

    NiKeyframeManager();
    // Becomes the first controller of the target.
    explicit NiKeyframeManager(NiObjectNET* pkTarget);
    ~NiKeyframeManager() override;

    // Reads a sequence from a file and adds it; false when nothing was added.
    bool AddSequence(const char* pcFileName, const char* pcName, int32_t iObjectIndex);
    // Takes the sequence; false (the caller keeps it) when it has an owner or its name is taken.
    bool AddSequence(Sequence* pkSequence);
    // The sequence passes to the caller.
    bool RemoveSequence(const char* pcName);
    bool RemoveSequence(Sequence* pkSequence);
    void RemoveAllSequences();
    Sequence* GetSequence(const char* pcName) const;
    uint32_t GetSequenceCount() const { return m_kSequences.GetCount(); }

    bool ActivateSequence(const char* pcName);
    bool DeactivateSequence(const char* pcName);
    bool BlendFromSequence(const char* pcSource, const char* pcDestination, const char* pcTextKey,
                           float fStart, float fEnd);
    bool MorphFromSequence(const char* pcSource, const char* pcDestination, float fStart, float fEnd);
    bool DeactivateBlend(const char* pcSource, const char* pcDestination);
    bool DeactivateMorph(const char* pcSource, const char* pcDestination);
    bool DeactivateAll();

    // Each sequence in map order.
    template <class F> void ForEachSequence(F&& kVisit) const
    {
        for (const auto& kEntry : m_kSequences)
            kVisit(kEntry.m_val);
    }

    void Start(float) override {}
    void Stop() override {}
    void Update(float fTime) override;
    void TargetPassedCulling() override {}
    bool IsTargetValid() const override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    // Binds the destination, then the source, and makes them partners; prints the message that
    // says why when it cannot.
    bool BindPair(Sequence* pkSource, Sequence* pkDestination, const char* pcBusyMessage);
    bool ActivateBlend(Sequence* pkSource, Sequence* pkDestination, const char* pcTextKey, float fStart,
                       float fEnd);
    bool ActivateMorph(Sequence* pkSource, Sequence* pkDestination, float fStart, float fEnd);
    bool DeactivatePair(const char* pcSource, const char* pcDestination, const char* pcMessage);
    void UpdatePair(Sequence* pkSource, float fTime, bool bMorph);
    // A key time of X at which X stands where Y stands at the time between its morph keys.
    static float SyncMorphTime(const Sequence* pkX, const Sequence* pkY, float fTime);

    NiStringHashMap<Sequence*> m_kSequences{37};
};
