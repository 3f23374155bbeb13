#include "scripting/PythonApi.h"

#include "scripting/PyEmbedScriptBridge.h"

#include "core/SKObject.h"
#include "scripting/BindingRuntime.h"
#include "scripting/PyEmbed.h"
#include "scripting/ScriptText.h"
#include "scripting/SecureBracket.h"

namespace
{
bool IsRunning()
{
    return Py_IsInitialized() != 0;
}

// The core's hooks answer false on failure; the reason is no script error to report.
template <class Result> Result Quietly(Result result)
{
    PyErr_Clear();
    return result;
}
} // namespace

void* PyEmbedScriptBridge::ObjectToPointer(PyObject* pkObject, const char* pcTypeName)
{
    void* pvPointer = nullptr;
    if (IsRunning() && pkObject)
        PyEmbed::ObjectToPointer(pkObject, &pvPointer, pcTypeName);
    return pvPointer;
}

PyObject* PyEmbedScriptBridge::PointerToString(const void* pvPointer, const char* pcTypeName)
{
    return IsRunning() ? PyEmbed::PointerToString(pvPointer, pcTypeName) : nullptr;
}

PyObject* PyEmbedScriptBridge::PointerToOwnedString(const void* pvPointer, const char* pcTypeName)
{
    return IsRunning() ? PyEmbed::PointerToScriptString(pvPointer, pcTypeName, false) : nullptr;
}

void PyEmbedScriptBridge::ForgetPointer(const void* pvObject)
{
    ForgetHandout(pvObject);
}

PyObject* PyEmbedScriptBridge::NewText(const char* pcText)
{
    return IsRunning() && pcText ? Quietly(PyEmbed::NewScriptText(pcText)) : nullptr;
}

bool PyEmbedScriptBridge::GetText(PyObject* pkObject, std::string& kText)
{
    if (!IsRunning() || !pkObject || !PyUnicode_Check(pkObject))
        return false;
    const char* pcText = PyEmbed::GetEngineText(pkObject);
    if (!pcText)
        return Quietly(false);
    kText = pcText;
    return true;
}

PyObject* PyEmbedScriptBridge::NewFloat(double dValue)
{
    return IsRunning() ? Quietly(PyFloat_FromDouble(dValue)) : nullptr;
}

bool PyEmbedScriptBridge::IsFloat(PyObject* pkObject)
{
    return IsRunning() && pkObject && PyFloat_Check(pkObject);
}

bool PyEmbedScriptBridge::IsInteger(PyObject* pkObject)
{
    return IsRunning() && pkObject && PyLong_Check(pkObject);
}

double PyEmbedScriptBridge::GetFloat(PyObject* pkObject)
{
    if (!IsRunning() || !pkObject)
        return 0.0;
    double dValue = PyFloat_AsDouble(pkObject);
    return Quietly(dValue == -1.0 && PyErr_Occurred() ? 0.0 : dValue);
}

PyObject* PyEmbedScriptBridge::NewTuple(const std::vector<PyObject*>& kItems)
{
    PyObject* pkTuple = nullptr;
    bool bComplete = IsRunning();
    for (PyObject* pkItem : kItems)
        bComplete = bComplete && pkItem;
    if (bComplete)
        pkTuple = PyTuple_New(static_cast<Py_ssize_t>(kItems.size()));
    // The items are taken over whether or not the tuple could be made.
    for (size_t uiIndex = 0; uiIndex < kItems.size(); ++uiIndex)
    {
        if (pkTuple)
            PyTuple_SET_ITEM(pkTuple, static_cast<Py_ssize_t>(uiIndex), kItems[uiIndex]);
        else if (IsRunning())
            Py_XDECREF(kItems[uiIndex]);
    }
    return Quietly(pkTuple);
}

int64_t PyEmbedScriptBridge::GetTupleSize(PyObject* pkObject)
{
    if (!IsRunning() || !pkObject || !PyTuple_Check(pkObject))
        return -1;
    return PyTuple_GET_SIZE(pkObject);
}

PyObject* PyEmbedScriptBridge::GetTupleItem(PyObject* pkTuple, int64_t iIndex)
{
    if (iIndex < 0 || iIndex >= GetTupleSize(pkTuple))
        return nullptr;
    return PyTuple_GET_ITEM(pkTuple, static_cast<Py_ssize_t>(iIndex));
}

PyObject* PyEmbedScriptBridge::GetAttribute(PyObject* pkObject, const char* pcName)
{
    if (!IsRunning() || !pkObject || !pcName)
        return nullptr;
    return Quietly(PyObject_GetAttrString(pkObject, pcName));
}

bool PyEmbedScriptBridge::SetAttribute(PyObject* pkObject, const char* pcName, PyObject* pkValue)
{
    if (!IsRunning() || !pkObject || !pcName)
        return false;
    int iResult = pkValue ? PyObject_SetAttrString(pkObject, pcName, pkValue)
                          : PyObject_DelAttrString(pkObject, pcName);
    return Quietly(iResult == 0);
}

void PyEmbedScriptBridge::Release(PyObject* pkObject)
{
    if (IsRunning())
        Py_XDECREF(pkObject);
}

int PyEmbedScriptBridge::CallFunction(const char* pcModule, const char* pcFunction, const char* pcText)
{
    return PyEmbed::CallFunction(pcModule, pcFunction, nullptr, nullptr, "(s)", pcText);
}

bool PyEmbedScriptBridge::AddMethod(Method pfnMethod, const char* pcClassName, const char* pcMethodName)
{
    return PyEmbed::RegisterMethod(pfnMethod, pcClassName, pcMethodName);
}

PyObject* PyEmbedScriptBridge::NewInteger(int64_t iValue)
{
    return IsRunning() ? Quietly(PyLong_FromLongLong(iValue)) : nullptr;
}

bool PyEmbedScriptBridge::GetInteger(PyObject* pkObject, int64_t& iValue)
{
    if (!IsRunning() || !pkObject || !PyLong_Check(pkObject))
        return false;
    int iOverflow = 0;
    long long iNumber = PyLong_AsLongLongAndOverflow(pkObject, &iOverflow);
    if (iOverflow || (iNumber == -1 && PyErr_Occurred()))
        return Quietly(false);
    iValue = iNumber;
    return true;
}

PyObject* PyEmbedScriptBridge::GetItem(PyObject* pkDictionary, const char* pcKey)
{
    if (!IsRunning() || !pkDictionary || !pcKey || !PyDict_Check(pkDictionary))
        return nullptr;
    PyObject* pkValue = PyDict_GetItemString(pkDictionary, pcKey);
    Py_XINCREF(pkValue);
    return Quietly(pkValue);
}

bool PyEmbedScriptBridge::SetItem(PyObject* pkDictionary, const char* pcKey, PyObject* pkValue)
{
    if (!IsRunning() || !pkDictionary || !pcKey || !pkValue || !PyDict_Check(pkDictionary))
        return false;
    return Quietly(PyDict_SetItemString(pkDictionary, pcKey, pkValue) == 0);
}

PyObject* PyEmbedScriptBridge::ReplacePointerAddress(const void* pvPointer, PyObject* pkPointerString)
{
    return PyEmbed::ReplacePointerAddress(pvPointer, pkPointerString);
}

void PyEmbedScriptBridge::AddReference(PyObject* pkObject)
{
    if (IsRunning())
        Py_XINCREF(pkObject);
}

PyObject* PyEmbedScriptBridge::CreatePythonObject(SKObject& kObject)
{
    if (!IsRunning())
        return nullptr;
    PyObject* pkDictionary = PyEmbed::GetAppDictionary();
    PyObject* pkClass =
        pkDictionary ? PyDict_GetItemString(pkDictionary, kObject.GetShadowClassName()) : nullptr;
    if (!pkClass)
    {
        PyErr_Clear();
        Py_RETURN_NONE;
    }
    PyEmbed::SecureBracket kBracket;
    PyObject* pkShadow = GuardEngineCall<PyObject*>(
        nullptr,
        [&]
        {
            PyObject* pkPointer = PyEmbed::NewScriptText(kObject.GetPointerString().c_str());
            PyObject* pkInstance = pkPointer ? PyObject_CallOneArg(pkClass, pkPointer) : nullptr;
            Py_XDECREF(pkPointer);
            return pkInstance;
        });
    if (PyEmbed::CheckError())
        Py_CLEAR(pkShadow);
    return pkShadow;
}

int PyEmbedScriptBridge::CallFloatFunction(const char* pcModule, const char* pcFunction, float& fResult)
{
    float fValue = 0.0f;
    if (PyEmbed::CallFunction(pcModule, pcFunction, "f", &fValue, "") != 0)
        return -1;
    fResult = fValue;
    return 0;
}

int PyEmbedScriptBridge::CallTextFunction(const char* pcModule, const char* pcFunction,
                                          std::optional<std::string>& kResult)
{
    const char* pcText = nullptr;
    if (PyEmbed::CallFunction(pcModule, pcFunction, "z", &pcText, "") != 0)
        return -1;
    // The text lives in the interpreter's result: copy it now.
    if (pcText)
        kResult = std::string(pcText);
    else
        kResult.reset();
    return 0;
}
