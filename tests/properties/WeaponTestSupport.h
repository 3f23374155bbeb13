#pragma once
// Shared by the weapon property tests: a property's record as the file stream writes it, its script lines, a
// load into a fresh object, and a script bridge that answers the torpedo scripts' questions from a table.
#include "core/SKBufferStream.h"
#include "core/SKScriptBridge.h"
#include "core/SKStream.h"
#include "properties/EnergyWeaponProperty.h"
#include "properties/PhaserProperty.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/TorpedoSystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/TractorBeamProperty.h"
#include "properties/WeaponSystemProperty.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// The record exactly as the file stream writes it (one byte per Bool).
inline std::string FileRecord(const SKObject& kObject)
{
    TempFolder kFolder;
    const std::string kPath = kFolder.Path("record.bin");
    {
        SKStream kStream;
        kStream.Open(kPath.c_str(), "wb");
        EXPECT_TRUE(kObject.SaveToStream(kStream));
        kStream.Close();
    }
    return TempFolder::ReadFile(kPath);
}

// The property's WriteInit text under the variable, split into lines.
inline std::vector<std::string> ScriptLines(SKModelProperty& kProperty, const char* pcVariable)
{
    TextCaptureStream kStream;
    kProperty.WriteInit(kStream, pcVariable);
    std::vector<std::string> kLines;
    std::istringstream kText(kStream.Text());
    for (std::string kLine; std::getline(kText, kLine);)
        kLines.push_back(kLine);
    return kLines;
}

// Saves the property into memory and loads the record into a new object of its class (the record's
// type and id are read past, as SKObject::LoadObject does before it calls LoadFromStream).
template <class T> std::unique_ptr<T> LoadedCopy(const T& kProperty)
{
    SKBufferStream kOut;
    kOut.OpenBuffer(1 << 16);
    EXPECT_TRUE(kProperty.SaveToStream(kOut));
    const std::vector<uint8_t> kBytes(kOut.GetBuffer(), kOut.GetBuffer() + kOut.GetPos());
    SKBufferStream kIn;
    kIn.AttachBuffer(const_cast<uint8_t*>(kBytes.data()), static_cast<int32_t>(kBytes.size()));
    kIn.ReadInt();
    kIn.ReadID();
    auto pkCopy = std::make_unique<T>(0);
    EXPECT_TRUE(pkCopy->LoadFromStream(kIn));
    EXPECT_EQ(kIn.GetPos(), static_cast<int32_t>(kBytes.size()));
    return pkCopy;
}

// Answers CallFloatFunction/CallTextFunction from a table keyed "module.function"; a missing
// entry fails the call as an unknown module or function does. Counts every call.
class FakeScriptBridge : public SKScriptBridge
{
public:
    FakeScriptBridge() { SKScriptBridge::Install(this); }
    ~FakeScriptBridge() override { SKScriptBridge::Install(nullptr); }

    std::map<std::string, float> m_kFloats;
    std::map<std::string, std::optional<std::string>> m_kTexts;
    std::map<std::string, int> m_kCalls;

    int Calls() const
    {
        int iTotal = 0;
        for (const auto& kEntry : m_kCalls)
            iTotal += kEntry.second;
        return iTotal;
    }

    int CallFloatFunction(const char* pcModule, const char* pcFunction, float& fResult) override
    {
        const std::string kKey = std::string(pcModule) + "." + pcFunction;
        m_kCalls[kKey]++;
        const auto kFound = m_kFloats.find(kKey);
        if (kFound == m_kFloats.end())
            return -1;
        fResult = kFound->second;
        return 0;
    }
    int CallTextFunction(const char* pcModule, const char* pcFunction,
                         std::optional<std::string>& kResult) override
    {
        const std::string kKey = std::string(pcModule) + "." + pcFunction;
        m_kCalls[kKey]++;
        const auto kFound = m_kTexts.find(kKey);
        if (kFound == m_kTexts.end())
            return -1;
        kResult = kFound->second;
        return 0;
    }

    void* ObjectToPointer(PyObject*, const char*) override { return nullptr; }
    PyObject* PointerToString(const void*, const char*) override { return nullptr; }
    PyObject* NewText(const char*) override { return nullptr; }
    bool GetText(PyObject*, std::string&) override { return false; }
    PyObject* NewFloat(double) override { return nullptr; }
    bool IsFloat(PyObject*) override { return false; }
    bool IsInteger(PyObject*) override { return false; }
    double GetFloat(PyObject*) override { return 0.0; }
    PyObject* NewTuple(const std::vector<PyObject*>&) override { return nullptr; }
    int64_t GetTupleSize(PyObject*) override { return -1; }
    PyObject* GetTupleItem(PyObject*, int64_t) override { return nullptr; }
    PyObject* GetAttribute(PyObject*, const char*) override { return nullptr; }
    bool SetAttribute(PyObject*, const char*, PyObject*) override { return false; }
    void Release(PyObject*) override {}
};

class WeaponTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        RegisterPropertyTypes();
    }
};
