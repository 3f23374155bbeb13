#pragma once

#include "scene/graph/NiProperty.h"

// The stencil test and what it does to the stored stencil value. The settings are fields of
// their own; the flag word has no meaning in this class.
class NiStencilProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum TestFunc : uint32_t
    {
        TEST_NEVER = 0,
        TEST_LESS = 1,
        TEST_EQUAL = 2,
        TEST_LESSEQUAL = 3,
        TEST_GREATER = 4,
        TEST_NOTEQUAL = 5,
        TEST_GREATEREQUAL = 6,
        TEST_ALWAYS = 7,
        TEST_MAX = 8
    };

    // INCREMENT and DECREMENT saturate.
    enum Action : uint32_t
    {
        ACTION_KEEP = 0,
        ACTION_ZERO = 1,
        ACTION_REPLACE = 2, // with the reference value
        ACTION_INCREMENT = 3,
        ACTION_DECREMENT = 4,
        ACTION_INVERT = 5,
        ACTION_MAX = 6
    };

    NiStencilProperty();

    static NiRefPtr<NiStencilProperty> GetDefault();

    void SetStencilOn(bool bOn) { m_bEnable = bOn ? 1 : 0; }
    bool GetStencilOn() const { return m_bEnable != 0; }
    void SetStencilFunction(TestFunc eTest) { m_eTest = eTest; }
    uint32_t GetStencilFunction() const { return m_eTest; }
    void SetStencilReference(uint32_t uiRef) { m_uiRef = uiRef; }
    uint32_t GetStencilReference() const { return m_uiRef; }
    void SetStencilMask(uint32_t uiMask) { m_uiMask = uiMask; }
    uint32_t GetStencilMask() const { return m_uiMask; }
    void SetStencilFailAction(Action eAction) { m_eFailAct = eAction; }
    uint32_t GetStencilFailAction() const { return m_eFailAct; }
    void SetStencilPassZFailAction(Action eAction) { m_eZFailAct = eAction; }
    uint32_t GetStencilPassZFailAction() const { return m_eZFailAct; }
    void SetStencilPassAction(Action eAction) { m_ePassAct = eAction; }
    uint32_t GetStencilPassAction() const { return m_ePassAct; }

    int32_t GetPropertyType() const override { return STENCIL; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiStencilProperty* pkClone);

private:
    // Enumerated fields keep the value a file gave them, named or not; readers of the getters
    // range-check before they map a value.
    uint8_t m_bEnable = 0;
    uint32_t m_eTest = TEST_GREATER;
    uint32_t m_uiRef = 0;
    uint32_t m_uiMask = 0xFFFFFFFF;
    uint32_t m_eFailAct = ACTION_KEEP;
    uint32_t m_eZFailAct = ACTION_KEEP;
    uint32_t m_ePassAct = ACTION_INCREMENT;
};
