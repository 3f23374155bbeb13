#pragma once

#include "scene/graph/NiProperty.h"

// Alpha blending and the alpha test. The settings sit in the flag word (bit 0 blending, bits 1-4
// source factor, 5-8 destination factor, bit 9 test, 10-12 test comparison, bit 13 no-sort)
// beside the test's reference byte. The alpha accumulator holds back for sorted drawing only
// objects whose alpha property blends, and lets no-sort objects through when asked to.
class NiAlphaProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // Blend factors; 11-15 have no meaning.
    enum AlphaFunction : uint16_t
    {
        ALPHA_ONE = 0,
        ALPHA_ZERO = 1,
        ALPHA_SRCCOLOR = 2,
        ALPHA_INVSRCCOLOR = 3,
        ALPHA_DESTCOLOR = 4,
        ALPHA_INVDESTCOLOR = 5,
        ALPHA_SRCALPHA = 6,
        ALPHA_INVSRCALPHA = 7,
        ALPHA_DESTALPHA = 8,
        ALPHA_INVDESTALPHA = 9,
        ALPHA_SRCALPHASAT = 10,
        ALPHA_MAX_MODES = 11
    };

    // Alpha-test comparisons: a fragment passes when its alpha compares so with the reference.
    // The numbering is not the stencil property's.
    enum TestFunction : uint16_t
    {
        TEST_ALWAYS = 0,
        TEST_LESS = 1,
        TEST_EQUAL = 2,
        TEST_LESSEQUAL = 3,
        TEST_GREATER = 4,
        TEST_NOTEQUAL = 5,
        TEST_GREATEREQUAL = 6,
        TEST_NEVER = 7
    };

    NiAlphaProperty();

    static NiRefPtr<NiAlphaProperty> GetDefault();

    void SetAlphaBlending(bool bOn) { SetBit(bOn, ALPHA_BLEND_BIT); }
    bool GetAlphaBlending() const { return GetBit(ALPHA_BLEND_BIT); }
    void SetSrcBlendMode(AlphaFunction eMode) { SetField(eMode, BLEND_MASK, SRC_BLEND_SHIFT); }
    AlphaFunction GetSrcBlendMode() const { return AlphaFunction(GetField(BLEND_MASK, SRC_BLEND_SHIFT)); }
    void SetDestBlendMode(AlphaFunction eMode) { SetField(eMode, BLEND_MASK, DEST_BLEND_SHIFT); }
    AlphaFunction GetDestBlendMode() const { return AlphaFunction(GetField(BLEND_MASK, DEST_BLEND_SHIFT)); }
    void SetAlphaTesting(bool bOn) { SetBit(bOn, ALPHA_TEST_BIT); }
    bool GetAlphaTesting() const { return GetBit(ALPHA_TEST_BIT); }
    void SetTestMode(TestFunction eMode) { SetField(eMode, TEST_MASK, TEST_SHIFT); }
    TestFunction GetTestMode() const { return TestFunction(GetField(TEST_MASK, TEST_SHIFT)); }
    void SetNoSorter(bool bOn) { SetBit(bOn, NO_SORTER_BIT); }
    bool GetNoSorter() const { return GetBit(NO_SORTER_BIT); }
    void SetTestRef(uint8_t ucRef) { m_ucTestRef = ucRef; }
    uint8_t GetTestRef() const { return m_ucTestRef; }

    // "name = ALPHA_ONE" ... for a blend factor.
    static std::string BlendFieldString(const char* pcName, uint32_t uiMode);

    int32_t GetPropertyType() const override { return ALPHA; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

    static constexpr uint16_t ALPHA_BLEND_BIT = 0;
    static constexpr uint16_t BLEND_MASK = 15;
    static constexpr uint16_t SRC_BLEND_SHIFT = 1;
    static constexpr uint16_t DEST_BLEND_SHIFT = 5;
    static constexpr uint16_t ALPHA_TEST_BIT = 9;
    static constexpr uint16_t TEST_MASK = 7;
    static constexpr uint16_t TEST_SHIFT = 10;
    static constexpr uint16_t NO_SORTER_BIT = 13;

protected:
    void CopyToClone(NiAlphaProperty* pkClone);

private:
    uint8_t m_ucTestRef = 0;
};
