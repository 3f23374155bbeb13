#include "scene/object/NiCFormat.h"
#include "scene/object/NiPoint3.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// Switches the process to German for one test: the installed locale, or else one compiled
// into a temporary folder from the system's locale sources.
class CommaLocale
{
public:
    CommaLocale()
    {
        const char* pcPrevious = std::setlocale(LC_ALL, nullptr);
        m_kPrevious = pcPrevious ? pcPrevious : "C";
        if (TrySet())
            return;
        const std::string kCommand =
            "localedef -i de_DE -f UTF-8 '" + m_kFolder.Path("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(kCommand.c_str()) == 0 && setenv("LOCPATH", m_kFolder.Path().c_str(), 1) == 0 &&
            TrySet())
            return;
        std::setlocale(LC_ALL, m_kPrevious.c_str());
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, m_kPrevious.c_str());
        unsetenv("LOCPATH");
    }
    bool Active() const { return m_bActive; }

private:
    bool TrySet()
    {
        m_bActive = std::setlocale(LC_ALL, "de_DE.UTF-8") && std::localeconv()->decimal_point[0] == ',';
        return m_bActive;
    }

    TempFolder m_kFolder;
    std::string m_kPrevious;
    bool m_bActive = false;
};

TEST(NiCFormatTest, FormatsLikePrintf)
{
    EXPECT_EQ(NiCFormat("%s = %d, %5.3f", "n", 42, 0.5), "n = 42, 0.500");
    EXPECT_EQ(NiCFormat("%s", ""), "");
    const std::string kLong(1000, 'x');
    EXPECT_EQ(NiCFormat("<%s>", kLong.c_str()), "<" + kLong + ">");
}

TEST(NiCFormatTest, FieldStringsKeepTheDecimalPointUnderACommaLocale)
{
    const CommaLocale kLocale;
    if (!kLocale.Active())
        GTEST_SKIP() << "no German locale is installed or can be compiled";
    char acPlain[16];
    std::snprintf(acPlain, sizeof(acPlain), "%.1f", 2.5);
    ASSERT_STREQ(acPlain, "2,5");
    EXPECT_EQ(NiCFormat("%.1f", 2.5), "2.5");
    EXPECT_EQ(NiPoint3(1.5f, 0.0f, 0.0f).GetFieldString("p"), "p = (1.500000,0.000000,0.000000)");
}
} // namespace
