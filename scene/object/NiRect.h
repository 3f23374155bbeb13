#pragma once

// A rectangle as its four edges. The camera's viewport uses floats as fractions of the screen
// (0 to 1, bottom-up); image blits use unsigned pixel edges.
template <class T> class NiRect
{
public:
    constexpr NiRect() = default;
    constexpr NiRect(T left, T right, T top, T bottom)
        : m_left(left), m_right(right), m_top(top), m_bottom(bottom)
    {
    }

    bool operator==(const NiRect& kOther) const = default;

    T m_left{};
    T m_right{};
    T m_top{};
    T m_bottom{};
};
