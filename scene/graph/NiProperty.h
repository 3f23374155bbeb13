#pragma once

#include "scene/object/NiObjectNET.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <span>
#include <string>

class NiStream;

// The abstract base of the fifteen render-state properties. A property packs its switches and
// small enumerations into a 16-bit flag word; each class gives meaning to some of its bits and
// compares only those. Each concrete class has one default instance (GetDefault), which fills
// every slot of a property table that no node sets, so that the renderer never meets an empty
// slot.
class NiProperty : public NiObjectNET
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The type numbers: the index of a class's slot in NiPropertyTable.
    enum PropertyType : int32_t
    {
        ALPHA = 0,
        CORRECTION = 1,
        FOG = 2,
        MATERIAL = 3,
        SHADE = 4,
        TEXTURE_MODE = 5,
        TEXTURE = 6,
        TRANSPARENT = 7,
        WIREFRAME = 8,
        ZBUFFER = 9,
        DITHER = 10,
        VERTEX_COLOR = 11,
        SPECULAR = 12,
        MULTI_TEXTURE = 13,
        STENCIL = 14,
        MAX_TYPES = 15
    };

    ~NiProperty() override;

    //--- The flag word. A field is (flags >> shift) & mask; a value wider than its mask is cut to
    // the mask so that it cannot spill into the neighbouring fields. ---
    uint16_t GetFlags() const { return m_usFlags; }
    void SetFlags(uint16_t usFlags) { m_usFlags = usFlags; }
    void SetField(uint16_t usValue, uint16_t usMask, uint16_t usShift);
    uint16_t GetField(uint16_t usMask, uint16_t usShift) const
    {
        return static_cast<uint16_t>((m_usFlags >> usShift) & usMask);
    }
    void SetBit(bool bValue, uint16_t usBit);
    bool GetBit(uint16_t usBit) const { return ((m_usFlags >> usBit) & 1) != 0; }

    virtual int32_t GetPropertyType() const = 0;
    // Runs the property's controllers with the update time; a property without controllers
    // stays as it is.
    virtual void Update(float fTime);

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    // "name = TEXT" with the text of an enumerated value. Values read from files are stored
    // as they come, so a value outside the table gets a line of its own instead of a text.
    static std::string EnumFieldString(const char* pcName, uint32_t uiValue,
                                       std::span<const char* const> kTexts);

    // True when the file being read is older than the gate version (byte-wise comparison of
    // the version texts: "3.01" < "3.02" < "3.1").
    static bool IsVersionBefore(const NiStream& kStream, const char* pcGate);

protected:
    NiProperty();

    // The NiObjectNET part, then the whole flag word (bits without meaning included).
    void CopyToClone(NiProperty* pkClone);
    // True when both flag words agree in the bits of the mask.
    bool FlagsEqual(const NiProperty& kOther, uint16_t usMask) const
    {
        return ((m_usFlags ^ kOther.m_usFlags) & usMask) == 0;
    }

    uint16_t m_usFlags = 0;
};

// The default instance of a property class: made on first use and kept until the program
// exits, so GetDefault hands out the same object for the whole run (the renderer recognises
// the default multi-texture property by identity).
template <class T> NiRefPtr<T> NiPropertyDefaultInstance()
{
    static const NiRefPtr<T> s_spDefault(new T);
    return s_spDefault;
}
