#pragma once

#include "properties/SKPropertyField.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

class SKModelProperty;
class SKScriptWriter;
class SKStream;

// The declared fields of one class level of a property, in the order a page lists them, built from
// one or more blocks of declarations (a level may share a block with its siblings: the firing arc
// of the arc weapons). Record and script places number the fields of the whole set.
//
// Every property class that adds fields has one:
//     const SKFieldSet& SensorProperty::GetFieldSet()
//     {
//         static const SKPropertyField FIELDS[] = {...};
//         static const SKFieldSet s_kSet({FIELDS});
//         return s_kSet;
//     }
// and its SaveToStream, LoadFromStream, WriteInit, CopyFrom and HasEqualFields run the base's,
// then the set's (SK_PROPERTY_FIELDS in SKPropertyClass.h writes the five). A class whose part
// has a hand-written piece calls the set around it.
//
// Pages: GetFields() lists the level's fields; SKPropertyField::Get and Set read and write a
// value on the property being edited; Find looks a field up by name.
class SKFieldSet
{
public:
    SKFieldSet(std::initializer_list<std::span<const SKPropertyField>> kBlocks);
    SKFieldSet(const SKFieldSet&) = delete;
    SKFieldSet& operator=(const SKFieldSet&) = delete;

    std::span<const SKPropertyField* const> GetFields() const { return m_kFields; }
    // Null when the set has no field of that name.
    const SKPropertyField* Find(std::string_view kName) const;

    // The fields that have a record place, in place order.
    void Save(const SKModelProperty& kProperty, SKStream& kStream) const;
    // Reads every record value first and writes them into the property only when all read: a
    // record that ends early or is damaged leaves the property's fields of this set as they were.
    bool Load(SKModelProperty& kProperty, SKStream& kStream) const;
    // The lines of the fields whose script place lies in [iFrom, iTo), in place order.
    void WriteLines(const SKModelProperty& kProperty, SKScriptWriter& kWriter, const char* pcVariable,
                    int32_t iFrom = 0, int32_t iTo = std::numeric_limits<int32_t>::max()) const;
    void WriteLines(const SKModelProperty& kProperty, SKStream& kStream, const char* pcVariable,
                    int32_t iFrom = 0, int32_t iTo = std::numeric_limits<int32_t>::max()) const;
    // Every field of the set, from one property into another of the class.
    void Copy(SKModelProperty& kTarget, const SKModelProperty& kSource) const;
    // True when every field of the set holds the same value in both (floats compared exactly).
    bool Equal(const SKModelProperty& kFirst, const SKModelProperty& kSecond) const;

private:
    std::vector<const SKPropertyField*> m_kFields;
    std::vector<const SKPropertyField*> m_kRecordOrder;
    std::vector<const SKPropertyField*> m_kScriptOrder;
};
