#pragma once

// A view frustum: left to bottom are slopes on a view plane at distance 1, near and far are
// distances along the viewing direction.
class NiFrustum
{
public:
    constexpr NiFrustum() = default;
    constexpr NiFrustum(float fLeft, float fRight, float fTop, float fBottom, float fNear, float fFar)
        : m_fLeft(fLeft), m_fRight(fRight), m_fTop(fTop), m_fBottom(fBottom), m_fNear(fNear), m_fFar(fFar)
    {
    }

    bool operator==(const NiFrustum& kOther) const = default;

    float m_fLeft = -0.5f;
    float m_fRight = 0.5f;
    float m_fTop = 0.5f;
    float m_fBottom = -0.5f;
    float m_fNear = 1.0f;
    float m_fFar = 2.0f;
};
