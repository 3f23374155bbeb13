#pragma once

#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/SKScriptBridge.h"

// A stand-in for the interpreter's objects, enough for the engine core's script hooks: shadow
// objects with attributes, texts, numbers, tuples and dictionaries (whose items are kept as
// attributes). Every object lives until the bridge goes; Release only counts, so tests can
// check that hooks release what they own. Calls and added methods are recorded.
struct _object
{
    enum class Kind
    {
        Shadow,
        Text,
        Float,
        Integer,
        Tuple,
        Dictionary
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
    PyObject* MakeDictionary() { return Make(_object::Kind::Dictionary); }
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
    PyObject* PointerToOwnedString(const void* pvPointer, const char* pcTypeName) override
    {
        return PointerToString(pvPointer, pcTypeName);
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
        if (m_bRefuseAttributes)
            return false;
        if (!pkValue)
            return pkObject->m_kAttributes.erase(pcName) == 1;
        ++pkValue->m_iReferences;
        pkObject->m_kAttributes[pcName] = pkValue;
        return true;
    }
    void Release(PyObject* pkObject) override { --pkObject->m_iReferences; }

    int CallFunction(const char* pcModule, const char* pcFunction, const char* pcText) override
    {
        m_kCalls.push_back(std::string(pcModule) + "." + pcFunction + "(" + pcText + ")");
        return 0;
    }
    bool AddMethod(Method pfnMethod, const char* pcClassName, const char* pcMethodName) override
    {
        m_kMethods.push_back({pfnMethod, pcClassName, pcMethodName});
        return true;
    }
    PyObject* NewInteger(int64_t iValue) override { return MakeInteger(iValue); }
    bool GetInteger(PyObject* pkObject, int64_t& iValue) override
    {
        if (!IsInteger(pkObject))
            return false;
        iValue = static_cast<int64_t>(pkObject->m_dValue);
        return true;
    }
    PyObject* GetItem(PyObject* pkDictionary, const char* pcKey) override
    {
        if (!pkDictionary || pkDictionary->m_eKind != _object::Kind::Dictionary)
            return nullptr;
        return GetAttribute(pkDictionary, pcKey);
    }
    bool SetItem(PyObject* pkDictionary, const char* pcKey, PyObject* pkValue) override
    {
        if (!pkDictionary || pkDictionary->m_eKind != _object::Kind::Dictionary || !pkValue)
            return false;
        ++pkValue->m_iReferences;
        pkDictionary->m_kAttributes[pcKey] = pkValue;
        return true;
    }
    PyObject* ReplacePointerAddress(const void* pvPointer, PyObject* pkPointerString) override
    {
        size_t uiType = pkPointerString ? pkPointerString->m_kText.find("_p_") : std::string::npos;
        if (!pvPointer || uiType == std::string::npos)
            return nullptr;
        char acAddress[32];
        std::snprintf(acAddress, sizeof(acAddress), "_%" PRIxPTR, reinterpret_cast<uintptr_t>(pvPointer));
        return NewText((acAddress + pkPointerString->m_kText.substr(uiType)).c_str());
    }
    void AddReference(PyObject* pkObject) override { ++pkObject->m_iReferences; }

    struct AddedMethod
    {
        Method m_pfnMethod;
        std::string m_kClassName;
        std::string m_kMethodName;
    };
    std::vector<std::string> m_kCalls;
    std::vector<AddedMethod> m_kMethods;
    // Makes every SetAttribute fail, as an object that refuses its attributes would.
    bool m_bRefuseAttributes = false;

private:
    std::vector<std::unique_ptr<_object>> m_kObjects;
};
