#pragma once

class wxDC;

// A drawing context handed to OnDraw: the toolkit's device context of the paint.
class CDC
{
public:
    explicit CDC(wxDC* pkDC) : m_pkDC(pkDC) {}
    wxDC* GetToolkitDC() const { return m_pkDC; }

private:
    wxDC* m_pkDC;
};
