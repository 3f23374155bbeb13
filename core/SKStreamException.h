#pragma once

#include <cstdint>

// The status of an SKStream. The stream owns one; a failing file stream throws a pointer to it, so the
// catcher reads the code and must not delete what it caught.
class SKStreamException
{
public:
    enum : int32_t
    {
        STATUS_OK = 0,
        STATUS_OPEN_FAILED = -1,
        STATUS_NOT_ATTACHED = -2, // no file, or no buffer, attached
        STATUS_ALREADY_OPEN = -3,
        STATUS_READ_ERROR = -4,
        STATUS_WRITE_ERROR = -5,
        STATUS_POSITION_ERROR = -6,
    };

    explicit SKStreamException(int32_t iCode = STATUS_OK) : m_iCode(iCode) {}

    int32_t GetCode() const { return m_iCode; }
    void SetCode(int32_t iCode) { m_iCode = iCode; }

private:
    int32_t m_iCode;
};
