#pragma once

#include "core/SKString.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

class SKModelProperty;

// The declaration of one field of a hardpoint property class: its name, its type, where it stands
// in the class's part of the binary record, how the class's script text sets it, and what an
// editing page needs to show it (the page's unit and range, the labels of a choice). Everything
// the system does with a field goes through its declaration: the record (SKFieldSet::Save and
// Load), the script lines (SKFieldSet::WriteLines), copying (SKFieldSet::Copy) and comparing
// (SKFieldSet::Equal); pages read and write values through Get and Set.
//
// A declaration names the member that holds the value and adds what applies:
//     SKPropertyField::Member<&SensorProperty::m_fBaseSensorRange>("BaseSensorRange")
//         .Record(0)                          // first of the class's own record values
//         .Script(0, "SetBaseSensorRange")    // first line: "<var>.SetBaseSensorRange(<value>)"
//         .Page(SKPropertyField::AS_STORED, 0.0f, 1e9f);
// Declarations live in a static member function of their class (SKFieldSet), so they may name
// private members.
class SKPropertyField
{
public:
    // The value types, and the C++ member type each is kept in.
    enum Type : uint8_t
    {
        BOOL,   // bool; record: Bool; script: 0 or 1
        INT,    // int32_t; record: Int (4 bytes); script: "%d"
        FLOAT,  // float; record: Float; script: "%f"
        POINT3, // NiPoint3; record: x, y, z; script: "x, y, z" or a point variable
        COLOR,  // NiColorA or SKColorA; record: r, g, b, a; script: a colour variable
        TEXT,   // std::optional<std::string> (none or a text); record: counted string, 0 for none
        STRING, // SKString; record: the string's own form
    };

    // How a field's script line carries its value. Lines are grouped: fields that follow each
    // other in script order and name the same setter make one call with an argument each.
    enum ScriptForm : uint8_t
    {
        NO_LINE,           // no script line (or a hand-written one)
        ARGUMENT,          // the value itself is the argument ("1.500000", "\"text\"", "x, y, z")
        ARGUMENT_WHEN_SET, // as ARGUMENT, but a text that is none writes no line at all
        VARIABLE,          // "<var><name> = App.SKPoint3()" (or SKColorA) and its SetXYZ (SetRGBA)
                           // line; the argument is "<var><name>"
        SHARED,            // a module variable <name> shared by the lines: made once ("kColor =
                           // App.SKColorA()", "kFiringChainString = App.SKString()"), then set
                           // (SetRGBA, SetString) before each use; the argument is <name>
        CONSTANT,          // an integer named by a constant of the shadow class: "<var>.EP_WARP"
    };

    // The page's unit for a number, a colour or an angle.
    enum Unit : uint8_t
    {
        AS_STORED,        // shown as stored
        DEGREES,          // radians in the property, degrees on the page
        COLOR_BYTES,      // colour components 0..1 shown as floor(c * 255 + 0.001), alpha too
        COLOR_RGB_SCALED, // red, green, blue shown as c * 255 (not floored); alpha as stored
    };

    using Text = std::optional<std::string>;
    using Value = std::variant<bool, int32_t, float, NiPoint3, NiColorA, Text, SKString>;
    using Getter = Value (*)(const SKModelProperty&);
    using Setter = void (*)(SKModelProperty&, const Value&);

    // --- Declaring. ---
    // The field kept in the member PMember (a pointer to a member of a property class).
    template <auto PMember> static SKPropertyField Member(const char* pcName)
    {
        using Traits = MemberTraits<decltype(PMember)>;
        return SKPropertyField(pcName, TypeOf<typename Traits::Member>(), &GetMember<PMember>,
                               &SetMember<PMember>);
    }
    // The field kept in element I of the array member PMember.
    template <auto PMember, size_t I> static SKPropertyField Element(const char* pcName)
    {
        using Traits = MemberTraits<decltype(PMember)>;
        using TElement = std::remove_cvref_t<decltype(std::declval<typename Traits::Member&>()[I])>;
        return SKPropertyField(pcName, TypeOf<TElement>(), &GetElement<PMember, I>, &SetElement<PMember, I>);
    }
    // Its place among the record values of its field set (0 first); without one the field is
    // not in the generic record.
    SKPropertyField Record(int16_t iPlace) const;
    // Its place among the script lines of its field set, the setter the line calls, and the form.
    // pcScriptName: the variable's suffix (VARIABLE) or the shared variable (SHARED).
    SKPropertyField Script(int16_t iPlace, const char* pcSetter, ScriptForm eForm = ARGUMENT,
                           const char* pcScriptName = nullptr) const;
    // An integer written as a constant: value v names kNames[v]; any other value pcOther.
    SKPropertyField Constants(std::span<const char* const> kNames, const char* pcOther) const;
    // The script getter of the value ("Get<name>", or "Is<name>" for a flag, unless given here);
    // null when scripts have none.
    SKPropertyField ScriptGetter(const char* pcGetter) const;
    // The page's unit and the range of what it accepts, in the page's unit.
    SKPropertyField Page(Unit eUnit, float fMinimum = std::numeric_limits<float>::lowest(),
                         float fMaximum = std::numeric_limits<float>::max()) const;
    // An integer chosen from a list: item i stands for the value i (the page shows no choice for
    // any other value, and writes -1 when none is chosen).
    SKPropertyField Choices(std::span<const char* const> kLabels) const;

    // --- Reading the declaration. ---
    const char* GetName() const { return m_pcName; }
    Type GetType() const { return m_eType; }
    bool InRecord() const { return m_iRecordPlace >= 0; }
    int16_t GetRecordPlace() const { return m_iRecordPlace; }
    int16_t GetScriptPlace() const { return m_iScriptPlace; }
    ScriptForm GetScriptForm() const { return m_eForm; }
    const char* GetScriptSetter() const { return m_pcSetter; }
    const char* GetScriptName() const { return m_pcScriptName; }
    // The script getter's name (see ScriptGetter); null when there is none.
    std::string GetScriptGetter() const;
    // The constant's short name for a value (CONSTANT fields).
    const char* GetConstantName(int32_t iValue) const;
    Unit GetUnit() const { return m_eUnit; }
    float GetMinimum() const { return m_fMinimum; }
    float GetMaximum() const { return m_fMaximum; }
    std::span<const char* const> GetChoices() const { return m_kChoices; }

    // --- The value on a property of the declaring class (or one derived from it). ---
    Value Get(const SKModelProperty& kProperty) const { return m_pfnGet(kProperty); }
    // False, and nothing written, when the value is not of the field's type.
    bool Set(SKModelProperty& kProperty, const Value& kValue) const;

    // --- Texts kept as TEXT fields. ---
    // Stores a copy of the text, or none for null; the stored text itself may be passed.
    static void SetText(Text& kText, const char* pcText);
    // The stored text, or null for none; valid until the text changes.
    static const char* TextOf(const Text& kText) { return kText ? kText->c_str() : nullptr; }

    // --- Page units. ---
    // A stored number (FLOAT, or one component of a colour: iComponent 0..3 for r, g, b, a) as the
    // page shows it, and a page number as it is stored. Angles use pi = 3.1415927 and 1/180 as
    // floats; colours use 1/255 as the float 0.003921569.
    static float ToPage(float fStored, Unit eUnit, int32_t iComponent = 0);
    static float FromPage(float fShown, Unit eUnit, int32_t iComponent = 0);

private:
    template <class T> struct MemberTraits;
    template <class TClass, class TMember> struct MemberTraits<TMember TClass::*>
    {
        using Class = TClass;
        using Member = TMember;
    };

    template <class T> static constexpr Type TypeOf()
    {
        if constexpr (std::is_same_v<T, bool>)
            return BOOL;
        else if constexpr (std::is_same_v<T, int32_t>)
            return INT;
        else if constexpr (std::is_same_v<T, float>)
            return FLOAT;
        else if constexpr (std::is_same_v<T, NiPoint3>)
            return POINT3;
        else if constexpr (std::is_base_of_v<NiColorA, T>)
            return COLOR;
        else if constexpr (std::is_same_v<T, Text>)
            return TEXT;
        else
        {
            static_assert(std::is_same_v<T, SKString>, "a field is bool, int32_t, float, NiPoint3, a colour, "
                                                       "an optional text or an SKString");
            return STRING;
        }
    }

    template <class T> static Value ToValue(const T& kValue)
    {
        if constexpr (std::is_base_of_v<NiColorA, T>)
            return Value(std::in_place_type<NiColorA>, static_cast<const NiColorA&>(kValue));
        else
            return Value(std::in_place_type<T>, kValue);
    }
    template <class T> static void FromValue(const Value& kValue, T& kOut)
    {
        if constexpr (std::is_base_of_v<NiColorA, T>)
            static_cast<NiColorA&>(kOut) = std::get<NiColorA>(kValue);
        else
            kOut = std::get<T>(kValue);
    }

    template <auto PMember> static Value GetMember(const SKModelProperty& kProperty)
    {
        using TClass = typename MemberTraits<decltype(PMember)>::Class;
        return ToValue(static_cast<const TClass&>(kProperty).*PMember);
    }
    template <auto PMember> static void SetMember(SKModelProperty& kProperty, const Value& kValue)
    {
        using TClass = typename MemberTraits<decltype(PMember)>::Class;
        FromValue(kValue, static_cast<TClass&>(kProperty).*PMember);
    }
    template <auto PMember, size_t I> static Value GetElement(const SKModelProperty& kProperty)
    {
        using TClass = typename MemberTraits<decltype(PMember)>::Class;
        return ToValue((static_cast<const TClass&>(kProperty).*PMember)[I]);
    }
    template <auto PMember, size_t I> static void SetElement(SKModelProperty& kProperty, const Value& kValue)
    {
        using TClass = typename MemberTraits<decltype(PMember)>::Class;
        FromValue(kValue, (static_cast<TClass&>(kProperty).*PMember)[I]);
    }

    SKPropertyField(const char* pcName, Type eType, Getter pfnGet, Setter pfnSet)
        : m_pcName(pcName), m_eType(eType), m_pfnGet(pfnGet), m_pfnSet(pfnSet)
    {
    }

    const char* m_pcName;
    Type m_eType;
    Getter m_pfnGet;
    Setter m_pfnSet;
    int16_t m_iRecordPlace = -1;
    int16_t m_iScriptPlace = -1;
    ScriptForm m_eForm = NO_LINE;
    const char* m_pcSetter = nullptr;
    const char* m_pcScriptName = nullptr;
    std::span<const char* const> m_kConstants;
    const char* m_pcOtherConstant = nullptr;
    const char* m_pcGetter = nullptr;
    bool m_bNoGetter = false;
    Unit m_eUnit = AS_STORED;
    float m_fMinimum = std::numeric_limits<float>::lowest();
    float m_fMaximum = std::numeric_limits<float>::max();
    std::span<const char* const> m_kChoices;
};
