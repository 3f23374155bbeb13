#pragma once

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

// Makes a folder the current one while it lives (for code that reads or writes files under
// fixed relative names), then goes back.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::string& kPath)
    {
        char acPrevious[4096];
        if (getcwd(acPrevious, sizeof(acPrevious)))
            m_kPrevious = acPrevious;
        EXPECT_EQ(chdir(kPath.c_str()), 0) << kPath;
    }
    ~WorkingFolder()
    {
        if (!m_kPrevious.empty())
        {
            EXPECT_EQ(chdir(m_kPrevious.c_str()), 0);
        }
    }

    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::string m_kPrevious;
};
