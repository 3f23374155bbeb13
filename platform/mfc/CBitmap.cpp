#include "platform/mfc/CBitmap.h"

#include "platform/mfc/Resources.h"

#include <wx/bitmap.h>

#include <vector>

CBitmap::CBitmap() = default;

CBitmap::~CBitmap() = default;

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    const mfc::BitmapResource* pkResource = mfc::Resources::FindBitmap(nIDResource);
    if (pkResource == nullptr || pkResource->kXpm.empty())
        return FALSE;
    std::vector<const char*> kLines;
    kLines.reserve(pkResource->kXpm.size());
    for (const std::string& kLine : pkResource->kXpm)
        kLines.push_back(kLine.c_str());
    auto spBitmap = std::make_unique<wxBitmap>(kLines.data());
    if (!spBitmap->IsOk())
        return FALSE;
    m_spBitmap = std::move(spBitmap);
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* pkBitmap) const
{
    if (!m_spBitmap || pkBitmap == nullptr)
        return 0;
    pkBitmap->bmWidth = m_spBitmap->GetWidth();
    pkBitmap->bmHeight = m_spBitmap->GetHeight();
    return static_cast<int>(sizeof(BITMAP));
}
