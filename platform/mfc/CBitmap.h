#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CObject.h"

#include <memory>

class wxBitmap;

struct BITMAP
{
    int bmWidth = 0;
    int bmHeight = 0;
};

// A picture loaded from the application's bitmap resources.
class CBitmap : public CObject
{
public:
    CBitmap();
    ~CBitmap() override;

    // FALSE when no bitmap resource has the id (or its picture does not read).
    BOOL LoadBitmap(UINT nIDResource);
    int GetBitmap(BITMAP* pkBitmap) const;
    const wxBitmap* GetToolkitBitmap() const { return m_spBitmap.get(); }

private:
    std::unique_ptr<wxBitmap> m_spBitmap;
};
