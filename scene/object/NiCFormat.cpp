#include "scene/object/NiCFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace
{
// One "C" locale object for the whole process, made on first use.
locale_t CLocale()
{
    static const locale_t s_kLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return s_kLocale;
}

std::string FormatV(const char* pcFormat, va_list kArgs)
{
    va_list kCopy;
    va_copy(kCopy, kArgs);
    const int iLength = std::vsnprintf(nullptr, 0, pcFormat, kCopy);
    va_end(kCopy);
    if (iLength <= 0)
        return std::string();
    std::string kText(static_cast<size_t>(iLength), '\0');
    std::vsnprintf(kText.data(), kText.size() + 1, pcFormat, kArgs);
    return kText;
}
} // namespace

std::string NiCFormat(const char* pcFormat, ...)
{
    // uselocale switches only this thread, so other threads keep their own locale.
    const locale_t kC = CLocale();
    const locale_t kPrevious = kC ? uselocale(kC) : locale_t(nullptr);
    va_list kArgs;
    va_start(kArgs, pcFormat);
    std::string kText = FormatV(pcFormat, kArgs);
    va_end(kArgs);
    if (kC)
        uselocale(kPrevious);
    return kText;
}
