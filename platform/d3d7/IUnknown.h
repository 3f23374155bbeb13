#pragma once

#include "platform/d3d7/DDrawTypes.h"

// The counted-interface base: AddRef and Release return the references left, which
// callers log and test.
class IUnknown
{
public:
    virtual HRESULT QueryInterface(REFIID riid, LPVOID* ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
