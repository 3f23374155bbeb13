#pragma once

#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/SKScriptBridge.h"

// A stand-in for the interpreter's objects, enough for the engine core's script hooks: shadow
// objects with attributes, texts, numbers and tuples. Every object lives until the bridge goes;
// Release only counts, so tests can check that hooks release what they own.
struct _object
{
    enum class Kind
    {
        Shadow,
        Text,
        Float,
        Integer,
        Tuple
    };
    Kind m_eKind = Kind::Shadow;
    std::string m_kText;
    double m_dValue = 0.0;
    std::vector<_object*> m_kItems;
    std::map<std::string, _object*> m_kAttributes;
    int m_iReferences = 1;
};

class FakeScriptBridge : public SKScriptBridge
{
public:
    FakeScriptBridge() { Install(this); }
    ~FakeScriptBridge() override { Install(nullptr); }

    PyObject* Make(_object::Kind eKind)
    {
        m_kObjects.push_back(std::make_unique<_object>());
        m_kObjects.back()->m_eKind = eKind;
        return m_kObjects.back().get();
    }
    PyObject* MakeShadow(const void* pvPointer, const char* pcTypeName)
    {
        PyObject* pkShadow = Make(_object::Kind::Shadow);
        pkShadow->m_kAttributes["this"] = PointerToString(pvPointer, pcTypeName);
        return pkShadow;
    }
    PyObject* MakeInteger(int64_t iValue)
    {
        PyObject* pkObject = Make(_object::Kind::Integer);
        pkObject->m_dValue = static_cast<double>(iValue);
        return pkObject;
    }

    void* ObjectToPointer(PyObject* pkObject, const char* pcTypeName) override
    {
        auto kThis =
            pkObject ? pkObject->m_kAttributes.find("this") : std::map<std::string, _object*>::iterator();
        if (!pkObject || kThis == pkObject->m_kAttributes.end())
            return nullptr;
        uintptr_t uiAddress = 0;
        char acType[64] = {};
        if (std::sscanf(kThis->second->m_kText.c_str(), "_%" SCNxPTR "_p_%63s", &uiAddress, acType) != 2 ||
            std::string(acType) != pcTypeName)
        {
            return nullptr;
        }
        return reinterpret_cast<void*>(uiAddress);
    }
    PyObject* PointerToString(const void* pvPointer, const char* pcTypeName) override
    {
        char acText[96];
        std::snprintf(acText, sizeof(acText), "_%" PRIxPTR "_p_%s", reinterpret_cast<uintptr_t>(pvPointer),
                      pcTypeName);
        return NewText(acText);
    }
    PyObject* NewText(const char* pcText) override
    {
        PyObject* pkObject = Make(_object::Kind::Text);
        pkObject->m_kText = pcText;
        return pkObject;
    }
    bool GetText(PyObject* pkObject, std::string& kText) override
    {
        if (!pkObject || pkObject->m_eKind != _object::Kind::Text)
            return false;
        kText = pkObject->m_kText;
        return true;
    }
    PyObject* NewFloat(double dValue) override
    {
        PyObject* pkObject = Make(_object::Kind::Float);
        pkObject->m_dValue = dValue;
        return pkObject;
    }
    bool IsFloat(PyObject* pkObject) override
    {
        return pkObject && pkObject->m_eKind == _object::Kind::Float;
    }
    bool IsInteger(PyObject* pkObject) override
    {
        return pkObject && pkObject->m_eKind == _object::Kind::Integer;
    }
    double GetFloat(PyObject* pkObject) override { return pkObject ? pkObject->m_dValue : 0.0; }
    PyObject* NewTuple(const std::vector<PyObject*>& kItems) override
    {
        PyObject* pkObject = Make(_object::Kind::Tuple);
        pkObject->m_kItems = kItems;
        return pkObject;
    }
    int64_t GetTupleSize(PyObject* pkObject) override
    {
        return pkObject && pkObject->m_eKind == _object::Kind::Tuple
                   ? static_cast<int64_t>(pkObject->m_kItems.size())
                   : -1;
    }
    PyObject* GetTupleItem(PyObject* pkTuple, int64_t iIndex) override
    {
        return pkTuple->m_kItems.at(static_cast<size_t>(iIndex));
    }
    PyObject* GetAttribute(PyObject* pkObject, const char* pcName) override
    {
        auto kFound = pkObject->m_kAttributes.find(pcName);
        if (kFound == pkObject->m_kAttributes.end())
            return nullptr;
        ++kFound->second->m_iReferences;
        return kFound->second;
    }
    bool SetAttribute(PyObject* pkObject, const char* pcName, PyObject* pkValue) override
    {
        ++pkValue->m_iReferences;
        pkObject->m_kAttributes[pcName] = pkValue;
        return true;
    }
    void Release(PyObject* pkObject) override { --pkObject->m_iReferences; }

private:
    std::vector<std::unique_ptr<_object>> m_kObjects;
};
