#pragma once
// The engine core's way into the interpreter: the core writes its script state hooks and
// shadow objects against SKScriptBridge, and the script host installs this implementation
// while the interpreter runs. Every operation refuses null objects and leaves no script
// error pending.

#include "core/SKScriptBridge.h"

class SKObject;

class PyEmbedScriptBridge : public SKScriptBridge
{
public:
    // The torpedo scripts' questions: PyEmbed::CallFunction with the result format "f" or "z"
    // and no arguments; a text is copied before the result goes.
    int CallFloatFunction(const char* pcModule, const char* pcFunction, float& fResult) override;
    int CallTextFunction(const char* pcModule, const char* pcFunction,
                         std::optional<std::string>& kResult) override;

    void* ObjectToPointer(PyObject* pkObject, const char* pcTypeName) override;
    PyObject* PointerToString(const void* pvPointer, const char* pcTypeName) override;
    PyObject* PointerToOwnedString(const void* pvPointer, const char* pcTypeName) override;
    PyObject* NewText(const char* pcText) override;
    bool GetText(PyObject* pkObject, std::string& kText) override;
    PyObject* NewFloat(double dValue) override;
    bool IsFloat(PyObject* pkObject) override;
    bool IsInteger(PyObject* pkObject) override;
    double GetFloat(PyObject* pkObject) override;
    PyObject* NewTuple(const std::vector<PyObject*>& kItems) override;
    int64_t GetTupleSize(PyObject* pkObject) override;
    PyObject* GetTupleItem(PyObject* pkTuple, int64_t iIndex) override;
    PyObject* GetAttribute(PyObject* pkObject, const char* pcName) override;
    // A null value deletes the attribute.
    bool SetAttribute(PyObject* pkObject, const char* pcName, PyObject* pkValue) override;
    void Release(PyObject* pkObject) override;
    int CallFunction(const char* pcModule, const char* pcFunction, const char* pcText) override;
    bool AddMethod(Method pfnMethod, const char* pcClassName, const char* pcMethodName) override;
    PyObject* NewInteger(int64_t iValue) override;
    bool GetInteger(PyObject* pkObject, int64_t& iValue) override;
    PyObject* GetItem(PyObject* pkDictionary, const char* pcKey) override;
    bool SetItem(PyObject* pkDictionary, const char* pcKey, PyObject* pkValue) override;
    PyObject* ReplacePointerAddress(const void* pvPointer, PyObject* pkPointerString) override;
    void AddReference(PyObject* pkObject) override;
    void ForgetPointer(const void* pvObject) override;

    // SKObject::CreatePythonObject: an instance of App's shadow class of the object's class
    // ("<Class>Ptr") made from the object's pointer string; None when App or the class is
    // missing, null (the error reported) when the shadow class fails.
    static PyObject* CreatePythonObject(SKObject& kObject);
};
